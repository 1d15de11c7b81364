// SPDX-License-Identifier: GPL-3.0-or-later
// The rename-mode tabs: each builds its controls, puts back its defaults and makes its rule of what
// the user chose. The table of modes makes them, in the order of their tabs.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <span>

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
class Rule;

class ModePage {
public:
    virtual ~ModePage() = default;
    // The inputs as the program starts.
    virtual void reset() = 0;
    // The rule of the inputs as the user left them.
    virtual std::unique_ptr<Rule> rule() const = 0;
    // Told the number of names the rule hands out, when it counts them.
    virtual void showNameCount(int) const {}
};

// The rename modes, in the order of their tabs (and of renameModes()).
enum class RenameMode { Numbering, DeleteCharacters, Insert, Replace, LetterCase, NameFile };

// What a page may need from the window besides its tab.
struct PageContext {
    Dialogs& dialogs;
    const FileSystem& fs;
    std::function<bool()> exiting;
};

// A rename mode: its tab's caption, what the 说明 frame says of it, and how its page is made.
struct ModeEntry {
    const char16_t* tab;
    const char16_t* explanation;
    std::unique_ptr<ModePage> (*makePage)(QWidget* tab, const PageContext& context);
};

// Every rename mode, in the order of their tabs.
std::span<const ModeEntry> renameModes();

class NumberingPage final : public ModePage {
public:
    explicit NumberingPage(QWidget* page);
    void reset() override;
    std::unique_ptr<Rule> rule() const override;

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
    std::unique_ptr<Rule> rule() const override;

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
    std::unique_ptr<Rule> rule() const override;

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
    std::unique_ptr<Rule> rule() const override;

private:
    QLineEdit* m_source;
    QLineEdit* m_dest;
    QCheckBox* m_directDelete;
    QCheckBox* m_regularExpression;
};

class CasePage final : public ModePage {
public:
    explicit CasePage(QWidget* page);
    void reset() override;
    std::unique_ptr<Rule> rule() const override;

private:
    QRadioButton* m_filename[4] = {};
    QRadioButton* m_extension[4] = {};
};

// Names from a text file: browsing for the file and counting the names typed.
class NameFilePage final : public ModePage {
public:
    NameFilePage(QWidget* page, Dialogs& dialogs, const FileSystem& fs, std::function<bool()> exiting);
    void reset() override;
    std::unique_ptr<Rule> rule() const override;
    void showNameCount(int count) const override;

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
