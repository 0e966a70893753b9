#include "app/Globals.h"

#include "resources/ResourceIds.h"

// One translation unit, so the order of definition is the order of
// construction (and the reverse that of destruction). The main window is
// given the objects it and its commands use; it only keeps references to
// them, so the status bar, built after it, is among them.
LabelControl titleLabel(IDC_ABOUT_TITLE, 0);
LabelControl websiteLink(IDC_ABOUT_WEBSITE, 1);
LabelControl emailLink(IDC_ABOUT_EMAIL, 1);
LabelControl noticeLabel(IDC_ABOUT_NOTICE, 0);
LabelControl descriptionLabel(IDC_ABOUT_DESCRIPTION, 0);
LineControl lowerRule(IDC_ABOUT_LOWER_RULE);
LineControl upperRule(IDC_ABOUT_UPPER_RULE);
PicControl logoPicture(IDC_ABOUT_LOGO, IDB_LOGO, 0);

ButtonBar buttonBar;
AboutDialog aboutDialog;
ProgramFinder finder;
ProgressDownloader downloader;
ProgramListBox programList;
MainWindow mainWindow(programList, buttonBar, statusBar, finder, downloader, aboutDialog);
StatusBar statusBar;
