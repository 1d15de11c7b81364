// SPDX-License-Identifier: GPL-3.0-or-later
// The six rename-mode tabs: each builds its controls, puts back its defaults and hands the
// preview pass what the user chose.
#pragma once

#include <QString>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QScrollBar;
class QWidget;

namespace tamsel {

class Dialogs;
class FileSystem;
class ImageButton;
struct PreviewInputs;

class ModePage {
public:
    virtual ~ModePage() = default;
    // The inputs as the program starts.
    virtual void reset() = 0;
    // This mode's part of the preview's inputs.
    virtual void collect(PreviewInputs& in) const = 0;
};

class NumberingPage final : public ModePage {
public:
    explicit NumberingPage(QWidget* page);
    void reset() override;
    void collect(PreviewInputs& in) const override;

private:
    // The ordinal model as chosen, or -1 while the box shows no item.
    int ordinalModelIndex() const;
    void refillStartChar();

    QComboBox* m_ordinalModel;
    QComboBox* m_growthBase;
    QComboBox* m_startChar;
    QComboBox* m_digit;
    QLineEdit* m_bofAddChar;
    QLineEdit* m_eofAddChar;
    QComboBox* m_modifiedSuffix;
};

class DeletePage final : public ModePage {
public:
    explicit DeletePage(QWidget* page);
    void reset() override;
    void collect(PreviewInputs& in) const override;

private:
    QScrollBar* m_offsetSpin; // set as their boxes are made
    QScrollBar* m_countSpin;
    QComboBox* m_locateMode;
    QLineEdit* m_offset;
    QComboBox* m_direction;
    QLineEdit* m_count;
};

class InsertPage final : public ModePage {
public:
    explicit InsertPage(QWidget* page);
    void reset() override;
    void collect(PreviewInputs& in) const override;

private:
    QScrollBar* m_offsetSpin; // set as its box is made
    QComboBox* m_locateMode;
    QLineEdit* m_offset;
    QLineEdit* m_text;
};

class ReplacePage final : public ModePage {
public:
    explicit ReplacePage(QWidget* page);
    void reset() override;
    void collect(PreviewInputs& in) const override;

private:
    QLineEdit* m_source;
    QLineEdit* m_dest;
    QCheckBox* m_directDelete;
};

class CasePage final : public ModePage {
public:
    explicit CasePage(QWidget* page);
    void reset() override;
    void collect(PreviewInputs& in) const override;

private:
    QRadioButton* m_filename[4] = {};
    QRadioButton* m_extension[4] = {};
};

// Names from a text file: browsing for the file and counting the names typed.
class NameFilePage final : public ModePage {
public:
    NameFilePage(QWidget* page, Dialogs& dialogs, const FileSystem& fs, std::function<bool()> exiting);
    void reset() override;
    void collect(PreviewInputs& in) const override;

private:
    void browse();
    void recount();

    Dialogs& m_dialogs;
    const FileSystem& m_fs;
    std::function<bool()> m_exiting;
    QWidget* m_page;
    QLineEdit* m_pathName;
    QPlainTextEdit* m_content;
    QLabel* m_count;
};

} // namespace tamsel
