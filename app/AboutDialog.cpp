#include "app/AboutDialog.h"

#include <shellapi.h>

#include "app/Globals.h"
#include "resources/ProgramVersion.h"
#include "toolkit/CentreWindow.h"
#include "toolkit/ResourceText.h"

#include <initializer_list>

const char MakerWebsite[] = KESTREL_WEBSITE_URL;
const char MakerEmail[] = KESTREL_EMAIL_ADDRESS;

namespace {

const char Description[] =
    "This program will scan your hard drives for any of the Corvel Utilities. When it finishes "
    "it will report which programs need updating. You can click the Update button and any old "
    "versions will be replaced.";
const char MailtoAddress[] = "mailto:" KESTREL_EMAIL_ADDRESS;

constexpr COLORREF Black = 0;
constexpr COLORREF NavyBlue = RGB(0, 0, 128);
constexpr COLORREF DarkRed = RGB(128, 0, 0);
// A zero background lets the labels use the button-face colour.
constexpr COLORREF FaceColour = 0;
constexpr UINT LinkFormat = DT_SINGLELINE | DT_VCENTER;

} // namespace

INT_PTR AboutDialog::dialogProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        initialise();
        return 1;
    case WM_NOTIFY: {
        const auto *header = reinterpret_cast<const NMHDR *>(lParam);
        if (header->code == CustomControlClicked)
            openLink(static_cast<int>(header->idFrom));
        return 0;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            EndDialog(handle, 1);
            return 1;
        case IDCANCEL:
            EndDialog(handle, 0);
            return 1;
        }
        return 0;
    }
    return 0;
}

// The control objects outlive the box, so every opening sets them up afresh;
// setFont releases the font of the previous opening.
void AboutDialog::initialise()
{
    titleLabel.font.logFont.lfWeight = FW_BOLD;
    titleLabel.setFont("Comic Sans MS", 14);
    titleLabel.setText("Kestrel v" KESTREL_VERSION_TEXT, Black, FaceColour);

    websiteLink.font.logFont.lfUnderline = TRUE;
    websiteLink.format = LinkFormat;
    websiteLink.setFont("", 10);
    websiteLink.setText(MakerWebsite, NavyBlue, FaceColour);

    emailLink.font.logFont.lfUnderline = TRUE;
    emailLink.format = LinkFormat;
    emailLink.setFont("", 10);
    emailLink.setText(MakerEmail, NavyBlue, FaceColour);

    // The notice's copyright sign is kept in the string table as UTF-16, so
    // it comes in the code page the program runs in, UTF-8 or another.
    loadMessageText(IDS_MAKER_NOTICE, notice_, sizeof notice_);
    noticeLabel.setFont("MS Sans Serif", 8);
    noticeLabel.setText(notice_, Black, FaceColour);

    descriptionLabel.format |= DT_WORDBREAK;
    descriptionLabel.setFont("MS Sans Serif", 8);
    descriptionLabel.setText(Description, Black, FaceColour);

    lowerRule.setPen(DarkRed, 3);
    upperRule.setPen(DarkRed, 3);

    // Screen readers read a control's window text: each label gets the text
    // it paints, the picture the program's name. The labels paint their own
    // texts, so nothing on the screen changes.
    for (LabelControl *label : {&titleLabel, &websiteLink, &emailLink, &noticeLabel, &descriptionLabel})
        SetWindowTextA(label->handle, label->text);
    SetWindowTextA(logoPicture.handle, "Kestrel");
    // The links take the focus with Tab, so that they open from the keyboard.
    for (LabelControl *link : {&websiteLink, &emailLink})
        SetWindowLongPtrA(link->handle, GWL_STYLE, GetWindowLongPtrA(link->handle, GWL_STYLE) | WS_TABSTOP);

    centreWindow(handle);
}

void AboutDialog::openLink(int controlId)
{
    const char *address = nullptr;
    if (controlId == websiteLink.id)
        address = MakerWebsite;
    else if (controlId == emailLink.id)
        address = MailtoAddress;
    if (address)
        ShellExecuteA(GetParent(handle), "open", address, "", "", SW_SHOWNORMAL);
}
