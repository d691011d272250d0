#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "platform/dpi_win.h"
#include "platform/unique_handle_win.h"
#include "widgets/licence_viewer_win.h"
#include "widgets/link_label_win.h"

// The controls of the About box, which is the main form's own surface: program picture, name, version, rights,
// the links (update check, home page, support, donation, licence) and "确定" on a grey band.
class AboutBox {
  public:
    static constexpr int kClientWidth = 373;
    static constexpr int kClientHeight = 259;
    static constexpr int kDonationRowHeight = 20;  // what the box loses once the donation row is gone
    static constexpr int kButton1Id = IDOK;

    // Creates the controls on the form and gives it the About box's size.
    void Create(HWND form, HICON picture, const std::string& homeCaption);
    // Captions in the chosen language.
    void SetTexts();
    // Hides the donation link and its picture and shortens the box by their row.
    void HideDonation();
    bool DonationVisible() const { return donationVisible_; }
    // Painting, static colours and clicks on the donation picture; true when the message was handled.
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    HWND VersionLabel() const { return versionLabel_; }
    HWND RightsLabel() const { return rights_; }
    HWND OkButton() const { return okButton_; }
    RECT DonationImageRect() const;
    LinkLabel LabelDownload;  // the update check
    LinkLabel HomePageLink;   // home page
    LinkLabel DonationLink;   // donation
    LinkLabel SupportLink;    // support
    LinkLabel LicenceLink;    // licence agreement
    LicenceViewer Licence;
    std::function<void()> OnDonationImageClick;

  private:
    HWND Static(const std::string& text, int x, int y, int width, int height, HFONT font);
    void Paint(HDC dc);
    int BandTop() const;
    // A length of the 96-dpi layout at the box's DPI.
    int Px(int length) const;

    HWND form_ = nullptr;
    HWND versionLabel_ = nullptr;  // children of the form
    HWND rights_ = nullptr;
    HWND updates_ = nullptr;
    HWND okButton_ = nullptr;
    HICON picture_ = nullptr;  // borrowed from the form
    RECT donationImage_{};
    bool donationVisible_ = true;
    UniqueFont font_, boldFont_;
    DpiScaler scaler_;
    UniqueBrush white_;
};

// The licence text built into the program.
std::string LicenceText();
