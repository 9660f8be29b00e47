#pragma once

// Registers the Qt windows with WindowManager: a card window is a frmManageSample on a
// SampleCardWindow, a list window a frmVL_JDYPGL on a VoucherListWindow, an attachment window a
// frmAccessory on an AccessoryDialog. Called once at start-up, after the
// QApplication exists.
void registerQtWindows();

// Unloads every window and deletes the Qt views they leave behind; call before the QApplication
// goes away.
void unloadQtWindows();
