#pragma once
#include "app/AboutDialog.h"
#include "app/MainWindow.h"
#include "catalogue/ProgramFinder.h"
#include "net/ProgressDownloader.h"
#include "toolkit/ButtonBar.h"
#include "toolkit/LabelControl.h"
#include "toolkit/LineControl.h"
#include "toolkit/PicControl.h"
#include "toolkit/ProgramListBox.h"
#include "toolkit/StatusBar.h"

// The program's objects, all defined in Globals.cpp so that they are built in
// this order before WinMain runs and destroyed in the reverse order after it.
// WinMain uses them by these names, and the About box its display controls;
// every other object is handed the ones it works with.

// The About box's display controls.
extern LabelControl titleLabel;
extern LabelControl websiteLink;
extern LabelControl emailLink;
extern LabelControl noticeLabel;
extern LabelControl descriptionLabel;
extern LineControl lowerRule;
extern LineControl upperRule;
extern PicControl logoPicture;

extern ButtonBar buttonBar;
extern AboutDialog aboutDialog;
extern ProgramFinder finder;
extern ProgressDownloader downloader;
extern ProgramListBox programList;
extern MainWindow mainWindow;
extern StatusBar statusBar;
