#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "app/main_form_win.h"
#include "win_test_util.h"

namespace wintest {

// A main form whose program folder is `dir` (settings beside it when the test puts a file there) and whose
// destruction does not end the test's message loop.
inline std::unique_ptr<TFrmLumivexMain> MakeForm(const TempDir& dir) {
    TFrmLumivexMain::Options o;
    o.ProgramFolder = dir.Path();
    o.QuitOnDestroy = false;
    auto form = std::make_unique<TFrmLumivexMain>(o);
    EXPECT_TRUE(form->Create());
    return form;
}

}  // namespace wintest
