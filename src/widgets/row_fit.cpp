#include "widgets/row_fit.h"

#include <algorithm>
#include <numeric>

namespace {
bool SameRow(const RowFitControl& a, const RowFitControl& b) {
    return a.Top < b.Bottom && b.Top < a.Bottom;
}

// Whether p comes before c on their row: it ends where c begins, or before.
bool Precedes(const RowFitControl& p, const RowFitControl& c) {
    return SameRow(p, c) && p.Right <= c.Left;
}
}  // namespace

// The templates are drawn for the Chinese texts; other languages' texts are longer or shorter. A label or check box
// followed by a field takes its text's width, so a column of fields sits one template gap after its longest label
// (a label may shrink, leaving no wide gap behind a short text). A control that ends its row keeps at least its
// template width (a check box's whole width stays clickable, a label filled later keeps its room), and grows only
// when its text needs more. Controls that share a left edge in the template share it afterwards: a column stays a
// column. Rows are the template's: controls whose vertical extents overlap.
void FitRowsToText(std::vector<RowFitControl>& controls) {
    const std::vector<RowFitControl> original = controls;
    const size_t n = original.size();
    std::vector<size_t> order(n);
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return original[a].Left < original[b].Left; });

    std::vector<int> width(n);
    for (size_t c = 0; c < n; ++c) {
        const RowFitControl& o = original[c];
        const int templateWidth = o.Right - o.Left;
        if (o.Wanted < 0) {
            width[c] = templateWidth;
            continue;
        }
        const bool followed =
            std::any_of(original.begin(), original.end(), [&](const RowFitControl& s) { return Precedes(o, s); });
        width[c] = followed && o.Shrinks ? o.Wanted : std::max(templateWidth, o.Wanted);
    }

    // Columns left to right: every control of a column needs room after what precedes it on its row.
    for (size_t i = 0; i < n;) {
        size_t end = i;
        while (end < n && original[order[end]].Left == original[order[i]].Left)
            ++end;
        int left = -1;
        for (size_t k = i; k < end; ++k) {
            const size_t c = order[k];
            int needed = -1;
            for (size_t p = 0; p < n; ++p) {
                if (p != c && Precedes(original[p], original[c]))
                    needed = std::max(needed, controls[p].Left + width[p] + original[c].Left - original[p].Right);
            }
            if (needed < 0)
                needed = original[c].Left;  // first on its row: where the template puts it
            left = std::max(left, needed);
        }
        for (size_t k = i; k < end; ++k) {
            const size_t c = order[k];
            controls[c].Left = left;
            controls[c].Right = left + width[c];
        }
        i = end;
    }
}
