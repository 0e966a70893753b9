#pragma once
#include "resources/ResourceIds.h"
#include "toolkit/Dialog.h"

// The About box (dialog template IDD_ABOUT): name and version, the maker's logo,
// notice and description, and links to the maker's web site and e-mail.
class AboutDialog : public Dialog {
public:
    INT_PTR dialogProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    static constexpr int TemplateId = IDD_ABOUT;

private:
    void initialise();
    void openLink(int controlId);

    // The maker's notice as the string table gives it.
    char notice_[80] = {};
};

// The maker's addresses, as the About box shows them.
extern const char MakerWebsite[];
extern const char MakerEmail[];
