#pragma once

#include <QComboBox>
#include <QListView>

#include "Runner.h"
#include "browse/DirectoryListBox.h"
#include "browse/DriveComboBox.h"
#include "browse/FileListBox.h"

// The drive, directory and file lists as Qt widgets: entries, glyphs, indentation and
// selection pulled from the models, the user's picks, opens and clicks sent to them.
namespace tarvik {

void BindDriveCombo(const Runner& run, DriveComboBox& drives, QComboBox& widget);
void BindDirectoryList(const Runner& run, DirectoryListBox& directories, QListView& view);
void BindFileList(const Runner& run, FileListBox& files, QListView& view);

}  // namespace tarvik
