#include "tray/tray_grid.h"

TrayGrid::TrayGrid(int size, uint32_t thinColumns, uint32_t thinRows) : size_(size) {
    Spread(xs_, size, thinColumns);
    Spread(ys_, size, thinRows);
}

// Every classic step gets Size / 16 pixels; the Size % 16 pixels left over widen steps spread evenly over the
// ones that are not thin lines first, so borders and separators keep one width and the gauge and the space of
// the figures take the slack. At multiples of 16 every step is the same: the classic picture in whole blocks.
void TrayGrid::Spread(Edges& edges, int size, uint32_t thin) {
    const int step = size / 16;
    int extra = size % 16;
    if (extra == 0) {  // the classic size and its multiples, drawn every tick
        for (int c = 0; c <= 16; ++c)
            edges[static_cast<size_t>(c)] = c * step;
        return;
    }
    int wide[16] = {};
    for (int pass = 0; pass < 2 && extra > 0; ++pass) {
        int candidates[16];
        int count = 0;
        for (int c = 0; c < 16; ++c) {
            if (!wide[c] && ((thin >> c) & 1u) == (pass == 0 ? 0u : 1u))
                candidates[count++] = c;
        }
        const int take = extra < count ? extra : count;
        for (int i = 0; i < take; ++i)
            wide[candidates[(2 * i + 1) * count / (2 * take)]] = 1;
        extra -= take;
    }
    edges[0] = 0;
    for (int c = 0; c < 16; ++c)
        edges[static_cast<size_t>(c) + 1] = edges[static_cast<size_t>(c)] + step + wide[c];
}
