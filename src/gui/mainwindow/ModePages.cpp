// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/ModePages.h"

#include "core/filelist/AddFiles.h"
#include "core/inputs/InputRules.h"
#include "core/rename/NameFile.h"
#include "core/rename/rules/CaseRule.h"
#include "core/rename/rules/DeleteRule.h"
#include "core/rename/rules/InsertRule.h"
#include "core/rename/rules/NameListRule.h"
#include "core/rename/rules/NumberingRule.h"
#include "core/rename/rules/ReplaceRule.h"
#include "gui/chrome/Frame.h"
#include "gui/chrome/ImageButton.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/forms/FormBuilder.h"
#include "gui/inputs/ParameterInputs.h"
#include "gui/mainwindow/WindowTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>

namespace tamsel {
namespace {

const QString FirstCharMode = QStringLiteral("从首字符开始（从前往后）");
const QString LastCharMode = QStringLiteral("从尾字符开始（从后往前）");

// Tabs 1 to 3: labels at 360, inputs at 1440, rows 480 twips apart from 660.
constexpr int RowTop[] = {660, 1140, 1620, 2100};
constexpr int InputLeft = 1440;
constexpr int LabelLeft = 360;
constexpr int WideInput = 2535;

// An input of a row with its caption.
template <typename W>
W* rowInput(W* input, QWidget* page, const char* labelName, const QString& text, int row)
{
    caption(label(page, labelName, text, LabelLeft, RowTop[row] + 60), input);
    return input;
}

// A number box with its scroll-bar spin standing over the box's right end, read by its caption.
QLineEdit* numberBox(QWidget* page, const char* name, const char* spinName, const char* labelName,
                     const QString& text, int row, QScrollBar** spin)
{
    auto* box = rowInput(control<QLineEdit>(page, name, InputLeft, RowTop[row], 1215, 300), page, labelName,
                         text, row);
    *spin = named(new QScrollBar(Qt::Vertical, page), spinName);
    place(*spin, 2400, RowTop[row], 255, 300);
    (*spin)->raise();
    (*spin)->setAccessibleName(box->accessibleName());
    return box;
}

bool digitTyped(QChar c, const QLineEdit& box)
{
    return digitKeyFilter(c, box.text(), box.selectedText().size());
}

bool offsetTyped(QChar c, const QLineEdit& box)
{
    return offsetKeyFilter(c, box.text());
}

void resetSpin(QScrollBar* spin)
{
    spin->setRange(1, 3);
    spin->setValue(2);
}

bool firstItemChosen(const QComboBox* box)
{
    return box->currentText() == box->itemText(0);
}

} // namespace

NumberingPage::NumberingPage(QWidget* page)
{
    Frame* basic = frame(page, "Frame_BasicSet", QStringLiteral("[基本设置]"), 120, 480, 4215, 1335);
    m_ordinalModel = combo(basic, "Combo_OrdinalModel", false, 1020, 300, 1695);
    caption(label(basic, "Label3", QStringLiteral("序数模式："), 120, 360), m_ordinalModel);
    m_growthBase = combo(basic, "Combo_GrowthBase", true, 3420, 300, 735);
    caption(label(basic, "Label4", QStringLiteral("增量："), 2880, 360), m_growthBase);
    m_startChar = combo(basic, "Combo_StartChar", true, 1020, 780, 1695);
    caption(label(basic, "Label5", QStringLiteral("开始字符："), 120, 840), m_startChar);
    m_digit = combo(basic, "Combo_Digit", false, 3420, 780, 735);
    caption(label(basic, "Label9", QStringLiteral("位数："), 2880, 840), m_digit);
    QObject::connect(m_ordinalModel, &QComboBox::currentIndexChanged, page, [this] { refillStartChar(); });

    Frame* optional = frame(page, "Frame_OptionalSet", QStringLiteral("[可选设置]"), 120, 2000, 4215, 1695);
    m_bofAddChar = control<QLineEdit>(optional, "Text_BofAddChar", 1920, 315, 2175, 270);
    caption(label(optional, "Label6", QStringLiteral("在文件名前面加字符："), 120, 360), m_bofAddChar);
    m_eofAddChar = control<QLineEdit>(optional, "Text_EofAddChar", 1920, 795, 2175, 270);
    caption(label(optional, "Label7", QStringLiteral("在文件名后面加字符："), 120, 840), m_eofAddChar);
    m_modifiedSuffix = combo(optional, "Combo_ModifiedSuffix", true, 1920, 1260, 1215);
    caption(label(optional, "Label8", QStringLiteral("修改文件的扩展名为："), 120, 1320), m_modifiedSuffix);

    KeystrokeFilter::install(m_growthBase->lineEdit(), digitTyped);
    KeystrokeFilter::install(m_startChar->lineEdit(), [this](QChar c, const QLineEdit& box) {
        return startCharKeyFilter(OrdinalModel(std::max(0, ordinalModelIndex())), c, box.text(),
                                  box.selectedText().size());
    });
}

void NumberingPage::reset()
{
    fill(m_ordinalModel, {QStringLiteral("阿拉伯数字（1）"), QStringLiteral("大写字母（A）"),
                          QStringLiteral("小写字母（a）")});
    refillStartChar();
    fill(m_growthBase,
         numbers(1, 9) << QStringLiteral("10") << QStringLiteral("100") << QStringLiteral("1000"));
    fill(m_digit, numbers(1, 9));
    fill(m_modifiedSuffix,
         {QStringLiteral("不修改"), QStringLiteral("txt"), QStringLiteral("doc"), QStringLiteral("exe"),
          QStringLiteral("jpg"), QStringLiteral("bmp"), QStringLiteral("dat")});
}

std::unique_ptr<Rule> NumberingPage::rule() const
{
    NumberingInputs n;
    if (const int model = ordinalModelIndex(); model >= 0)
        n.model = OrdinalModel(model);
    n.start = m_startChar->currentText();
    n.increment = m_growthBase->currentText();
    n.width = m_digit->currentText();
    n.prefix = m_bofAddChar->text();
    n.suffix = m_eofAddChar->text();
    n.newExtension = m_modifiedSuffix->currentText();
    n.keepExtension = firstItemChosen(m_modifiedSuffix);
    return std::make_unique<NumberingRule>(std::move(n));
}

int NumberingPage::ordinalModelIndex() const
{
    const QString text = m_ordinalModel->currentText();
    for (int i = 0; i < 3; ++i) {
        if (text == m_ordinalModel->itemText(i))
            return i;
    }
    return -1;
}

void NumberingPage::refillStartChar()
{
    const int model = ordinalModelIndex();
    if (model < 0)
        return;
    fill(m_startChar, startCharItems(OrdinalModel(model)));
    if (model == 0) {
        m_growthBase->setEnabled(true);
    } else {
        if (m_growthBase->count() > 0)
            m_growthBase->setEditText(m_growthBase->itemText(0));
        m_growthBase->setEnabled(false);
    }
}

DeletePage::DeletePage(QWidget* page)
    : m_locateMode(rowInput(combo(page, "Combo_LocateMode_Del", false, InputLeft, RowTop[0], WideInput), page,
                            "Label11", QStringLiteral("定位模式："), 0)),
      m_offset(numberBox(page, "Text_MedianOffset_Del", "VScroll_MedianOffset_Del", "Label12",
                         QStringLiteral("偏移位数："), 1, &m_offsetSpin)),
      m_direction(rowInput(combo(page, "Combo_DeleteDirection", false, InputLeft, RowTop[2], 1455), page,
                           "Label10", QStringLiteral("删除方向："), 2)),
      m_count(numberBox(page, "Text_DeleteMedian", "VScroll_DeleteMedian", "Label13",
                        QStringLiteral("删除位数："), 3, &m_countSpin))
{
    KeystrokeFilter::install(m_count, digitTyped, 2);
    KeystrokeFilter::install(m_offset, offsetTyped, 2);
    bindSpin(m_countSpin, m_count, 1);
    bindSpin(m_offsetSpin, m_offset, 0);
}

void DeletePage::reset()
{
    fill(m_locateMode, {FirstCharMode, LastCharMode});
    fill(m_direction, {QStringLiteral("向后（向右）"), QStringLiteral("向前（向左）")});
    m_offset->setText(QStringLiteral("0"));
    m_count->setText(QStringLiteral("1"));
    resetSpin(m_offsetSpin);
    resetSpin(m_countSpin);
}

std::unique_ptr<Rule> DeletePage::rule() const
{
    return std::make_unique<DeleteRule>(DeleteInputs{
        m_offset->text(), m_count->text(), firstItemChosen(m_locateMode), firstItemChosen(m_direction)});
}

InsertPage::InsertPage(QWidget* page)
    : m_locateMode(rowInput(combo(page, "Combo_LocateMode_Insert", true, InputLeft, RowTop[0], WideInput),
                            page, "Label18", QStringLiteral("定位模式："), 0)),
      m_offset(numberBox(page, "Text_MedianOffset_Insert", "VScroll_MedianOffset_Insert", "Label17",
                         QStringLiteral("偏移位数："), 1, &m_offsetSpin)),
      m_text(rowInput(control<QLineEdit>(page, "Text_InsertCharacter", InputLeft, RowTop[2], WideInput, 300),
                      page, "Label19", QStringLiteral("插入字符："), 2))
{
    KeystrokeFilter::install(m_offset, offsetTyped, 2);
    bindSpin(m_offsetSpin, m_offset, 0);
}

void InsertPage::reset()
{
    fill(m_locateMode, {FirstCharMode, LastCharMode});
    m_offset->setText(QStringLiteral("0"));
    resetSpin(m_offsetSpin);
}

std::unique_ptr<Rule> InsertPage::rule() const
{
    return std::make_unique<InsertRule>(
        InsertInputs{m_text->text(), m_offset->text(), firstItemChosen(m_locateMode)});
}

ReplacePage::ReplacePage(QWidget* page)
    : m_source(rowInput(control<QLineEdit>(page, "Text_SourceChar", InputLeft, RowTop[0], WideInput, 300),
                        page, "Label23", QStringLiteral("将字符串："), 0)),
      m_dest(rowInput(control<QLineEdit>(page, "Text_DestChar", InputLeft, RowTop[1], WideInput, 300), page,
                      "Label22", QStringLiteral("替换成为："), 1)),
      m_directDelete(control<QCheckBox>(page, "Check_DirectDelete", LabelLeft, 1680, 1215, 255)),
      m_regularExpression(control<QCheckBox>(page, "Check_RegularExpression", 1920, 1680, 1455, 255))
{
    m_directDelete->setText(QStringLiteral("直接删除"));
    m_regularExpression->setText(QStringLiteral("正则表达式"));
    for (QCheckBox* box : {m_directDelete, m_regularExpression})
        box->resize(box->sizeHint().expandedTo(box->size()));
}

void ReplacePage::reset()
{
    m_source->clear();
    m_dest->clear();
    m_directDelete->setChecked(false);
    m_regularExpression->setChecked(false);
}

std::unique_ptr<Rule> ReplacePage::rule() const
{
    return std::make_unique<ReplaceRule>(ReplaceInputs{
        m_source->text(), m_dest->text(), m_directDelete->isChecked(), m_regularExpression->isChecked()});
}

CasePage::CasePage(QWidget* page)
{
    static const char16_t* const captions[] = {u"保持不变", u"首字大写", u"全部大写", u"全部小写"};
    auto group = [&](const char* frameName, const QString& title, int left, const QString& optionName,
                     QRadioButton** options) {
        Frame* box = frame(page, frameName, title, left, 600, 1815, 2535);
        for (int i = 0; i < 4; ++i) {
            options[i] = new QRadioButton(QString::fromUtf16(captions[i]), box);
            options[i]->setObjectName(optionName + u'_' + QString::number(i));
            // Eight buttons share four captions: the group tells them apart.
            options[i]->setAccessibleDescription(title);
            place(options[i], 360, 480 + 480 * i, 1215, 255);
            options[i]->resize(options[i]->sizeHint().expandedTo(options[i]->size()));
        }
    };
    group("Frame_Filename", QStringLiteral("[文件名]"), 240, QStringLiteral("Option_Filename"), m_filename);
    group("Frame_Extension", QStringLiteral("[扩展名]"), 2400, QStringLiteral("Option_Extension"),
          m_extension);
}

void CasePage::reset()
{
    m_filename[0]->setChecked(true);
    m_extension[0]->setChecked(true);
}

std::unique_ptr<Rule> CasePage::rule() const
{
    auto checked = [](QRadioButton* const(&options)[4]) {
        for (int i = 0; i < 4; ++i) {
            if (options[i]->isChecked())
                return CaseChange(i);
        }
        return CaseChange::Keep;
    };
    return std::make_unique<CaseRule>(checked(m_filename), checked(m_extension));
}

NameFilePage::NameFilePage(QWidget* page, Dialogs& dialogs, const FileSystem& fs,
                           std::function<bool()> exiting)
    : m_dialogs(dialogs), m_fs(fs), m_exiting(std::move(exiting)), m_page(page)
{
    label(page, "Label26", QStringLiteral("打开含有文件名列表的文档：>>>"), 240, 480);
    auto* browse = new ImageButton(
        page, QStringLiteral("Browse"), QStringLiteral("浏 览"),
        {QRect(3480, 480, 735, 630), QRect(160, 240, 450, 180), QRect(3240, 240, 1215, 1095)});
    m_pathName = control<QLineEdit>(page, "Text_PathName", 240, 795, 3015, 300);
    m_pathName->setAccessibleName(QStringLiteral("打开含有文件名列表的文档："));
    m_content = control<QPlainTextEdit>(page, "Text_FileContent", 240, 1320, 3975, 1935);
    m_content->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_content->setTabChangesFocus(true);
    m_content->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_content->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_content->setAccessibleName(QStringLiteral("文件名列表"));
    QLabel* countCaption = label(page, "Label27", QStringLiteral("列表中文件名的数量："), 240, 3480);
    m_count = label(page, "Label_FileContentSUM", QStringLiteral("0"), 2160, 3480);
    counter(countCaption, m_count);
    auto* countSum = new ImageButton(
        page, QStringLiteral("CountSUM"), QStringLiteral("刷  新"),
        {QRect(3240, 3360, 975, 390), QRect(240, 120, 540, 180), QRect(3000, 3240, 1455, 615)});
    QObject::connect(browse, &ImageButton::clicked, page, [this] { this->browse(); });
    QObject::connect(countSum, &ImageButton::clicked, page, [this] { recount(); });
}

void NameFilePage::reset()
{
    m_pathName->clear();
    m_content->clear();
    showCount(m_count, 0);
}

std::unique_ptr<Rule> NameFilePage::rule() const
{
    return std::make_unique<NameListRule>(m_content->toPlainText());
}

void NameFilePage::showNameCount(int count) const
{
    m_count->setText(QString::number(count));
}

void NameFilePage::browse()
{
    const QString path = m_dialogs.openFile(m_page->window(), {QStringLiteral("文本文件 (*.txt) (*.txt)")});
    // A cancelled dialog changes nothing: the names typed are the user's work.
    if (m_exiting() || path.isEmpty())
        return;
    const LoadedNames loaded = loadNameFile(m_fs, resolvePath(m_fs, path));
    if (loaded.refusal != NameFileRefusal::None) {
        m_dialogs.message(m_page->window(), refusalText(loaded.refusal), Caption::Notice);
        return;
    }
    m_pathName->setText(path);
    m_content->setPlainText(loaded.text);
    recount();
}

void NameFilePage::recount()
{
    showCount(m_count, listedNames(m_content->toPlainText()).size());
}

namespace {

// A page that needs nothing but its tab.
template <typename Page> std::unique_ptr<ModePage> plainPage(QWidget* tab, const PageContext&)
{
    return std::make_unique<Page>(tab);
}

std::unique_ptr<ModePage> nameFilePage(QWidget* tab, const PageContext& context)
{
    return std::make_unique<NameFilePage>(tab, context.dialogs, context.fs, context.exiting);
}

} // namespace

std::span<const ModeEntry> renameModes()
{
    static const ModeEntry modes[] = {
        {u"序 数", u"将多个文件名更改为有序的字符串", plainPage<NumberingPage>},
        {u"删 除", u"删除文件名中特定位置的字符串", plainPage<DeletePage>},
        {u"插 入", u"将一个字符串插入到文件名中的特定位置", plainPage<InsertPage>},
        {u"替 换", u"用一个字符串替换文件名中的特定字符串或直接删除", plainPage<ReplacePage>},
        {u"大小写", u"可分别更改主文件名和扩展名中英文字母的大小写", plainPage<CasePage>},
        {u"从文件", u"使用文本文件中的字符为文件命名\n\n注意：文本文件中的字符串以回车换行。", nameFilePage},
    };
    return modes;
}

} // namespace tamsel
