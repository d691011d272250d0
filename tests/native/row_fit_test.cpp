#include "widgets/row_fit.h"

#include <gtest/gtest.h>

namespace {
RowFitControl Box(int left, int top, int right, int bottom, int wanted = -1, bool shrinks = true) {
    return {left, top, right, bottom, wanted, shrinks};
}

struct Span {
    int Left, Right;
};

std::vector<Span> Spans(const std::vector<RowFitControl>& controls) {
    std::vector<Span> spans;
    for (const RowFitControl& c : controls)
        spans.push_back({c.Left, c.Right});
    return spans;
}

void ExpectSpans(const std::vector<RowFitControl>& controls, const std::vector<Span>& expected) {
    const std::vector<Span> spans = Spans(controls);
    ASSERT_EQ(spans.size(), expected.size());
    for (size_t i = 0; i < spans.size(); ++i) {
        EXPECT_EQ(spans[i].Left, expected[i].Left) << "control " << i;
        EXPECT_EQ(spans[i].Right, expected[i].Right) << "control " << i;
    }
}

// Two rows of "label, field, unit" as a page lays them out: 100-pixel labels, a gap of 3, 50-pixel fields.
std::vector<RowFitControl> TwoRows(int firstLabel, int secondLabel, bool shrinks) {
    return {Box(10, 0, 110, 10, firstLabel, shrinks),   Box(113, 0, 163, 12),  Box(167, 0, 180, 10, 8, shrinks),
            Box(10, 20, 110, 30, secondLabel, shrinks), Box(113, 20, 163, 32), Box(167, 20, 180, 30, 8, shrinks)};
}
}  // namespace

TEST(RowFit, FieldsFollowTheLongestLabelOfTheirColumn) {
    // Short labels: the field column moves left to one gap after the longer label; units keep their gap of 4.
    std::vector<RowFitControl> page = TwoRows(40, 55, true);
    FitRowsToText(page);
    ExpectSpans(page, {{10, 50}, {68, 118}, {122, 135}, {10, 65}, {68, 118}, {122, 135}});

    // A label longer than the template pushes its row and the column along.
    page = TwoRows(40, 130, true);
    FitRowsToText(page);
    ExpectSpans(page, {{10, 50}, {143, 193}, {197, 210}, {10, 140}, {143, 193}, {197, 210}});
}

TEST(RowFit, TextsThatFitLeaveTheTemplateAsItIs) {
    // Controls that may not shrink (the template's own language) and whose texts fit: nothing moves.
    std::vector<RowFitControl> page = TwoRows(90, 100, false);
    const std::vector<Span> before = Spans(page);
    FitRowsToText(page);
    ExpectSpans(page, before);
}

TEST(RowFit, ControlsThatEndTheirRowKeepTheirWidth) {
    // A check box across the page, a lone label filled later, a fixed list with a button beside it.
    std::vector<RowFitControl> page = {Box(10, 0, 250, 10, 80), Box(10, 20, 250, 30, 0), Box(10, 40, 100, 140),
                                       Box(104, 40, 150, 54, 60, false), Box(104, 60, 200, 70, 300)};
    FitRowsToText(page);
    ExpectSpans(page, {{10, 250}, {10, 250}, {10, 100}, {104, 164}, {104, 404}});
}
