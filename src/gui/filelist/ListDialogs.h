// SPDX-License-Identifier: GPL-3.0-or-later
// The three small modeless dialogs of the file list. Each stays above other windows, and closing
// it only hides it; its show command resets it.
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QRadioButton;

namespace tamsel {

class FileList;
class FileListCommands;

class HidingDialog : public QDialog {
    Q_OBJECT
public:
    HidingDialog(const char* name, const QString& caption, QWidget* parent);

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override { hide(); }
};

// Form_AddListFile: "添加文件对话框".
class AddListFileDialog : public HidingDialog {
    Q_OBJECT
public:
    AddListFileDialog(FileListCommands& commands, QWidget* parent);
    void showAddFilesDialog();

private:
    QLineEdit* m_dir;
    QCheckBox* m_withSubFolders;
};

// Form_RemoveListFile: "过滤器(去除列表中的文件)". Only its show command and close act.
class FilterDialog : public HidingDialog {
    Q_OBJECT
public:
    FilterDialog(const FileList& list, QWidget* parent);
    void showFilterDialog();

private:
    const FileList& m_list;
    QLineEdit* m_text;
    QRadioButton* m_position[3];
    QRadioButton* m_action[2];
    QListWidget* m_keep;
    QListWidget* m_remove;
};

// Form_SortListFile: "文件列表排序". Only its show command and close act.
class SortDialog : public HidingDialog {
    Q_OBJECT
public:
    explicit SortDialog(QWidget* parent);
    void showSortDialog();

private:
    QRadioButton* m_key[5];
    QRadioButton* m_direction[2];
    QRadioButton* m_folders[2];
    QLineEdit* m_step;
};

} // namespace tamsel
