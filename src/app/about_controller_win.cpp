#include "app/about_controller_win.h"

#include "maker_addresses.h"
#include "platform/messages.h"
#include "platform/place_near_taskbar_win.h"
#include "platform/text_win.h"
#include "platform/texts.h"
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

void AboutController::Create(HWND form, HICON picture, TrayIcon& tray) {
    form_ = form;
    picture_ = picture;
    tray_ = &tray;
    addresses_ = MakerAddresses{LUMIVEX_UPDATE_FILE_URL, LUMIVEX_DOWNLOADS_URL, LUMIVEX_HOME_URL, LUMIVEX_SUPPORT_URL,
                                LUMIVEX_DONATION_URL};
    // The program shows no messages of the checker's own: the label tells the outcome.
    checker_.FailureDlg = false;
    checker_.DownloadDlg = false;
    checker_.OnGetURL = [this](UpdateChecker&, const std::string& currentVersion, const std::string&,
                               const std::string&, const std::string&) { UpdateFound(currentVersion); };
    checker_.OnDownloadFailed = [this](UpdateChecker&) { UpdateFailed(); };
}

AboutBox& AboutController::Box() {
    if (!boxCreated_)
        CreateBox();
    return box_;
}

// The box's controls are the only ones the program would have at start, and with the program's manifest even a
// button loads the common controls library: they are made when the box is first shown, so a program that stays in
// the tray does not carry the library (under Wine 1.7 MB of private memory).
void AboutController::CreateBox() {
    boxCreated_ = true;
    box_.Create(form_, picture_, HostOf(addresses_.Home));
    box_.LabelDownload.OnLinkClick = [this](LinkLabel&, int, const std::string& text) { DownloadLinkClicked(text); };
    box_.HomePageLink.OnLinkClick = [this](LinkLabel&, int, const std::string&) {
        launchers_.WebPage(form_, addresses_.Home);
    };
    box_.DonationLink.OnLinkClick = [this](LinkLabel&, int, const std::string&) { OpenDonationPage(); };
    box_.SupportLink.OnLinkClick = [this](LinkLabel&, int, const std::string&) {
        launchers_.WebPage(form_, addresses_.Support);
    };
    box_.LicenceLink.OnLinkClick = [this](LinkLabel&, int, const std::string&) { ShowLicence(); };
    box_.OnDonationImageClick = [this] { OpenDonationPage(); };
    if (settings_.ClickedDonation)
        box_.HideDonation();
    ownVersionInfo_.SetFilename("");
    SetWindowTextW(
        box_.VersionLabel(),
        Widen(FormatText(TextId::AboutVersion, {FormatFileVersion(ownVersionInfo_.ProductVersion().Text(), false)}))
            .c_str());
}

void AboutController::Shown() {
    PlaceNearTaskbar(form_);
    // The check starts once the box is on screen and the messages pending now have run.
    PostMessageW(form_, kAboutShownMessage, 0, 0);
}

void AboutController::OpenDonationPage() {
    launchers_.WebPage(form_, addresses_.Donation);
    settings_.ClickedDonation = true;  // saved with the settings; the donation row is gone from the next start
}

void AboutController::ShowLicence() {
    Box().Licence.Show(form_, kApplicationTitle, LicenceText());
}

void AboutController::DownloadLinkClicked(const std::string& linkText) {
    // The link after a failed check checks again, like the first one.
    if (linkText != Text(TextId::UpdateCheck) && linkText != Text(TextId::UpdateError)) {
        launchers_.WebPage(nullptr, addresses_.Downloads);
        return;
    }
    LinkLabel& label = Box().LabelDownload;
    label.SetCaption(Text(TextId::UpdateChecking));
    label.SetFontColor(GetSysColor(COLOR_BTNSHADOW));
    UpdateWindow(label.Hwnd());
    checker_.TempFile = UniqueTempFileName(TempFolder(), "");
    checker_.URLCurrVerFile = addresses_.UpdateFile;
    updateCheckRunning_ = true;
    checker_.CheckNow();
}

void AboutController::UpdateFound(const std::string& currentVersion) {
    // A file that does not list the program at all (an error page, a captive portal) is no answer.
    if (currentVersion.empty()) {
        UpdateFailed();
        return;
    }
    updateCheckRunning_ = false;
    LinkLabel& label = Box().LabelDownload;
    if (IsNewerByJoinedDigits(currentVersion, ownVersionInfo_.FileVersion().Text())) {
        std::string shown = FormatFileVersion(currentVersion, true);
        label.SetCaption("<link>" + FormatText(TextId::UpdateAvailable, {shown.empty() ? currentVersion : shown}) +
                         "</link>");
    } else {
        label.SetCaption(Text(TextId::UpdateUpToDate));
    }
    label.Tag = 1;  // no more automatic checks
}

void AboutController::UpdateFailed() {
    updateCheckRunning_ = false;
    Box().LabelDownload.SetCaption("<link>" + std::string(Text(TextId::UpdateError)) + "</link>");
    // Tag stays 0: the next showing of the box checks again.
}

bool AboutController::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
        case WM_SHOWWINDOW:
            if (wParam)
                Shown();
            return false;
        case kAboutShownMessage:
            if (!IsWindowVisible(form_))
                return true;
            // "确定" is the default button: Enter and Esc close the box from the start.
            if (!IsChild(form_, GetFocus()))
                SetFocus(Box().OkButton());
            if (Box().LabelDownload.Tag == 0 && !updateCheckRunning_)
                DownloadLinkClicked(Text(TextId::UpdateCheck));
            result = 0;
            return true;
        default:
            return boxCreated_ && box_.HandleMessage(msg, wParam, lParam, result);
    }
}
