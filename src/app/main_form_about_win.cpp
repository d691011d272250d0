// The main form as the About box: start-up state, showing and hiding, the links and the update check's label.
#include "app/main_form_win.h"

#include "maker_addresses.h"
#include "platform/messages.h"
#include "platform/place_near_taskbar_win.h"
#include "platform/text_win.h"
#include "update/temp_file_win.h"
#include "update/version_text.h"

namespace {

// What the home-page link shows: the site's host name.
std::string HostOf(const std::string& address) {
    size_t start = address.find("://");
    start = start == std::string::npos ? 0 : start + 3;
    return address.substr(start, address.find_first_of("/?#", start) - start);
}
}  // namespace

void MainForm::InitAboutBox() {
    addresses_ = MakerAddresses{LUMIVEX_UPDATE_FILE_URL, LUMIVEX_DOWNLOADS_URL, LUMIVEX_HOME_URL, LUMIVEX_SUPPORT_URL,
                                LUMIVEX_DONATION_URL};
    aboutBox_.Create(Hwnd(), programIcon_.Get(), HostOf(addresses_.Home));
    aboutBox_.LabelDownload.OnLinkClick = [this](LinkLabel&, int, const std::string& text) {
        LabelDownloadLinkClick(text);
    };
    aboutBox_.HomePageLink.OnLinkClick = [this](LinkLabel&, int, const std::string&) { OpenHomePage(); };
    aboutBox_.DonationLink.OnLinkClick = [this](LinkLabel&, int, const std::string&) { OpenDonationPage(); };
    aboutBox_.SupportLink.OnLinkClick = [this](LinkLabel&, int, const std::string&) { OpenSupportPage(); };
    aboutBox_.LicenceLink.OnLinkClick = [this](LinkLabel&, int, const std::string&) { ShowLicence(); };
    aboutBox_.OnDonationImageClick = [this] { OpenDonationPage(); };

    // The program shows no messages of the checker's own: the label tells the outcome.
    getUpdate_.FailureDlg = false;
    getUpdate_.DownloadDlg = false;
    getUpdate_.OnGetURL = [this](UpdateChecker&, const std::string& currentVersion, const std::string&,
                                 const std::string&, const std::string&) { GetUpdateGetURL(currentVersion); };
    getUpdate_.OnDownloadFailed = [this](UpdateChecker&) { GetUpdateDownloadFailed(); };

    if (settings_.ClickedDonation)
        aboutBox_.HideDonation();
    ownVersionInfo_.SetFilename("");
    SetWindowTextW(
        aboutBox_.VersionLabel(),
        Widen(FormatText(TextId::AboutVersion, {FormatFileVersion(ownVersionInfo_.ProductVersion().Text(), false)}))
            .c_str());
}

void MainForm::ShowAbout() {
    tray_->RestoreMainWindow();
}

void MainForm::CloseAboutBox() {
    tray_->HideMainWindow();
}

void MainForm::FormShow() {
    PlaceNearTaskbar(Hwnd());
    // The check starts once the box is on screen and the messages pending now have run.
    PostMessageW(Hwnd(), kAboutShownMessage, 0, 0);
}

void MainForm::OpenDonationPage() {
    hooks_.Launchers.WebPage(Hwnd(), addresses_.Donation);
    settings_.ClickedDonation = true;  // saved with the settings; the donation row is gone from the next start
}

void MainForm::OpenHomePage() {
    hooks_.Launchers.WebPage(Hwnd(), addresses_.Home);
}

void MainForm::OpenSupportPage() {
    hooks_.Launchers.WebPage(Hwnd(), addresses_.Support);
}

void MainForm::ShowLicence() {
    aboutBox_.Licence.Show(Hwnd(), kApplicationTitle, LicenceText());
}

void MainForm::LabelDownloadLinkClick(const std::string& linkText) {
    if (linkText != Text(TextId::UpdateCheck)) {
        hooks_.Launchers.WebPage(nullptr, addresses_.Downloads);
        return;
    }
    LinkLabel& label = aboutBox_.LabelDownload;
    label.SetCaption(Text(TextId::UpdateChecking));
    label.SetFontColor(GetSysColor(COLOR_BTNSHADOW));
    UpdateWindow(label.Hwnd());
    getUpdate_.TempFile = UniqueTempFileName(TempFolder(), "");
    getUpdate_.URLCurrVerFile = addresses_.UpdateFile;
    updateCheckRunning_ = true;
    getUpdate_.CheckNow();
}

void MainForm::GetUpdateGetURL(const std::string& currentVersion) {
    // A file that does not list the program at all (an error page, a captive portal) is no answer.
    if (currentVersion.empty()) {
        GetUpdateDownloadFailed();
        return;
    }
    updateCheckRunning_ = false;
    LinkLabel& label = aboutBox_.LabelDownload;
    if (IsNewerByJoinedDigits(currentVersion, ownVersionInfo_.FileVersion().Text())) {
        std::string shown = FormatFileVersion(currentVersion, true);
        label.SetCaption("<link>" + FormatText(TextId::UpdateAvailable, {shown.empty() ? currentVersion : shown}) +
                         "</link>");
    } else {
        label.SetCaption(Text(TextId::UpdateUpToDate));
    }
    label.Tag = 1;  // no more automatic checks
}

void MainForm::GetUpdateDownloadFailed() {
    updateCheckRunning_ = false;
    aboutBox_.LabelDownload.SetCaption(Text(TextId::UpdateError));
    // Tag stays 0: the next showing of the box checks again.
}

bool MainForm::HandleAboutMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
        case WM_SHOWWINDOW:
            if (wParam)
                FormShow();
            return false;
        case kAboutShownMessage:
            if (!IsWindowVisible(Hwnd()))
                return true;
            // "确定" is the default button: Enter and Esc close the box from the start.
            if (!IsChild(Hwnd(), GetFocus()))
                SetFocus(aboutBox_.OkButton());
            if (aboutBox_.LabelDownload.Tag == 0 && !updateCheckRunning_)
                LabelDownloadLinkClick(Text(TextId::UpdateCheck));
            result = 0;
            return true;
        default:
            return aboutBox_.HandleMessage(msg, wParam, lParam, result);
    }
}
