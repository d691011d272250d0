#pragma once

#include <gtest/gtest.h>

#include "settings/settings.h"

// Every field of two records alike, each named when it differs; made from the settings table, so a new setting is
// compared too.
inline void ExpectSameSettings(const Settings& actual, const Settings& expected) {
#define LUMIVEX_EXPECT_SAME(field, ...) EXPECT_EQ(actual.field, expected.field) << #field;
    LUMIVEX_SETTINGS(LUMIVEX_EXPECT_SAME)
#undef LUMIVEX_EXPECT_SAME
}
