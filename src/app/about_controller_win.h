#pragma once

#include <windows.h>

#include <string>

#include "app/about_box_win.h"
#include "platform/version_info_win.h"
#include "settings/settings.h"
#include "system/system_commands_win.h"
#include "tray/tray_icon_win.h"
#include "update/update_checker_win.h"

// The main form as the About box: showing and hiding it, its links, the licence, and the update check that runs
// the first time the box is shown (and again after a failure).
class AboutController {
  public:
    struct MakerAddresses {
        std::string UpdateFile, Downloads, Home, Support, Donation;
    };

    // settings: the record whose ClickedDonation the donation link sets; launchers.WebPage opens the pages.
    AboutController(Settings& settings, const SystemLaunchers& launchers)
        : settings_(settings), launchers_(launchers) {}

    // The box goes on the form, its controls made when it is first shown; the tray icon shows and hides the form.
    void Create(HWND form, HICON picture, TrayIcon& tray);
    // Captions in the chosen language.
    void SetTexts() {
        if (boxCreated_)
            box_.SetTexts();
    }
    void Show() {
        Box();
        tray_->RestoreMainWindow();
    }
    void Hide() { tray_->HideMainWindow(); }
    // The form is being shown: it goes near the taskbar, and the update check follows once it is on screen.
    void Shown();
    // The update label's link: "检查更新" checks, the announcement of a new version opens the downloads page.
    void DownloadLinkClicked(const std::string& linkText);
    // The box's painting, clicks and the check after showing; true when the message was handled.
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    AboutBox& Box();
    UpdateChecker& Checker() { return checker_; }
    MakerAddresses& Addresses() { return addresses_; }
    bool UpdateCheckRunning() const { return updateCheckRunning_; }

  private:
    void CreateBox();
    void OpenDonationPage();
    void ShowLicence();
    void UpdateFound(const std::string& currentVersion);
    void UpdateFailed();

    Settings& settings_;
    const SystemLaunchers& launchers_;
    HWND form_ = nullptr;
    HICON picture_ = nullptr;
    TrayIcon* tray_ = nullptr;
    AboutBox box_;
    bool boxCreated_ = false;
    VersionInfoReader ownVersionInfo_;  // the program's own file, for the version texts
    UpdateChecker checker_;
    MakerAddresses addresses_;
    bool updateCheckRunning_ = false;
};
