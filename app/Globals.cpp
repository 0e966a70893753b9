#include "app/Globals.h"

// One translation unit, so the order of definition is the order of
// construction (and the reverse that of destruction). No object refers to
// another here: WinMain attaches the finder once all of them exist.
LabelControl titleLabel(1000, 0);
LabelControl websiteLink(1001, 1);
LabelControl emailLink(1003, 1);
LabelControl noticeLabel(1004, 0);
LabelControl descriptionLabel(1005, 0);
LineControl lowerRule(1006);
LineControl upperRule(1007);
PicControl logoPicture(1009, 111, 0);

ButtonBar buttonBar;
AboutDialog aboutDialog;
ProgramFinder finder;
ProgressDownloader downloader;
ProgramListBox programList;
MainWindow mainWindow;
StatusBar statusBar;
