// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/filelist/ListDialogs.h"

#include "core/filelist/CellText.h"
#include "core/filelist/FileList.h"
#include "core/text/PlainText.h"
#include "gui/chrome/Frame.h"
#include "gui/filelist/FileListCommands.h"
#include "gui/forms/FormBuilder.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QVBoxLayout>
#include <array>

namespace tamsel {
namespace {

QPushButton* button(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = named(new QPushButton(caption, parent), name);
    b->setAutoDefault(false);
    return b;
}

// An option group in a container of its own, so that groups are independent.
template <size_t N>
QWidget* options(QWidget* parent, const QString& arrayName, const std::array<const char16_t*, N>& captions,
                 QRadioButton* (&out)[N], Qt::Orientation orientation)
{
    auto* box = new QWidget(parent);
    QBoxLayout* layout = orientation == Qt::Horizontal ? static_cast<QBoxLayout*>(new QHBoxLayout(box))
                                                       : static_cast<QBoxLayout*>(new QVBoxLayout(box));
    layout->setContentsMargins(0, 0, 0, 0);
    auto* group = new QButtonGroup(box);
    for (size_t i = 0; i < N; ++i) {
        out[i] = new QRadioButton(QString::fromUtf16(captions[i]), box);
        out[i]->setObjectName(arrayName + u'_' + QString::number(i));
        group->addButton(out[i], int(i));
        layout->addWidget(out[i]);
    }
    return box;
}

void frameMargins(QLayout* layout, const QWidget* frame)
{
    layout->setContentsMargins(10, frame->fontMetrics().height() + 4, 10, 8);
}

} // namespace

HidingDialog::HidingDialog(const char* name, const QString& caption, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint | Qt::WindowTitleHint)
{
    setObjectName(QLatin1String(name));
    setWindowTitle(caption);
    setModal(false);
}

void HidingDialog::closeEvent(QCloseEvent* event)
{
    event->ignore();
    hide();
}

AddListFileDialog::AddListFileDialog(FileListCommands& commands, QWidget* parent)
    : HidingDialog("Form_AddListFile", QStringLiteral("添加文件对话框"), parent)
{
    auto* grid = new QGridLayout(this);
    auto* label = named(new QLabel(QStringLiteral("目录地址："), this), "Label_Dir");
    m_dir = named(new QLineEdit(this), "Text_Dir");
    label->setBuddy(m_dir);
    m_dir->setAccessibleName(label->text());
    auto* browseDir = button(this, "Command_BrowseDir", QStringLiteral("选择目录"));
    auto* browseFile = button(this, "Command_BrowseFile", QStringLiteral("选择文件"));
    m_withSubFolders = named(new QCheckBox(QStringLiteral("包含子目录"), this), "Check_ContainSubDir");
    auto* import = button(this, "Command_Import", QStringLiteral("确 定"));
    auto* close = button(this, "Command_Close", QStringLiteral("关 闭"));
    grid->addWidget(label, 0, 0);
    grid->addWidget(m_dir, 0, 1, 1, 2);
    grid->addWidget(browseDir, 0, 3);
    grid->addWidget(m_withSubFolders, 1, 1);
    grid->addWidget(browseFile, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(import);
    buttons->addWidget(close);
    grid->addLayout(buttons, 2, 0, 1, 4);
    m_dir->setMinimumWidth(220);

    connect(browseDir, &QPushButton::clicked, this,
            [this, &commands] { m_dir->setText(commands.pickFolder(this)); });
    connect(browseFile, &QPushButton::clicked, this, [this, &commands] { commands.pickFilesAndAdd(this); });
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
}

void AddListFileDialog::showAddFilesDialog()
{
    m_dir->clear();
    m_withSubFolders->setChecked(false);
    show();
}

FilterDialog::FilterDialog(const FileList& list, QWidget* parent)
    : HidingDialog("Form_RemoveListFile", QStringLiteral("过滤器(去除列表中的文件)"), parent), m_list(list)
{
    auto* top = new QVBoxLayout(this);

    Frame* names = frame(this, "Frame1", QStringLiteral(" 筛选文件名称 "));
    auto* nameLayout = new QGridLayout(names);
    frameMargins(nameLayout, names);
    m_text = named(new QLineEdit(names), "Text1");
    m_text->setAccessibleName(QStringLiteral("筛选文件名称"));
    nameLayout->addWidget(m_text, 0, 0, 1, 2);
    nameLayout->addWidget(options<3>(names, QStringLiteral("Option1"),
                                     {u"以之开头", u"包含有之", u"以之结尾"}, m_position, Qt::Horizontal),
                          1, 0, 1, 2);
    nameLayout->addWidget(
        options<2>(names, QStringLiteral("Option2"), {u"去 除", u"保 留"}, m_action, Qt::Horizontal), 2, 0);
    auto* nameButtons = new QHBoxLayout;
    nameButtons->addWidget(button(names, "Command_ExecFileName", QStringLiteral("执 行")));
    nameButtons->addWidget(button(names, "Command_ResetFileName", QStringLiteral("重 置")));
    nameLayout->addLayout(nameButtons, 2, 1);
    top->addWidget(names);

    Frame* types = frame(this, "Frame2", QStringLiteral(" 筛选文件类型 "));
    auto* typeLayout = new QGridLayout(types);
    frameMargins(typeLayout, types);
    auto* keepLabel = named(new QLabel(QStringLiteral("保 留"), types), "Label1");
    auto* removeLabel = named(new QLabel(QStringLiteral("去 除"), types), "Label2");
    m_keep = named(new QListWidget(types), "List1");
    m_remove = named(new QListWidget(types), "List2");
    keepLabel->setBuddy(m_keep);
    removeLabel->setBuddy(m_remove);
    m_keep->setAccessibleName(keepLabel->text());
    m_remove->setAccessibleName(removeLabel->text());
    auto* arrows = new QVBoxLayout;
    arrows->addStretch();
    arrows->addWidget(button(types, "Command6", QStringLiteral(">>")));
    arrows->addWidget(button(types, "Command7", QStringLiteral("<<")));
    arrows->addStretch();
    typeLayout->addWidget(keepLabel, 0, 0);
    typeLayout->addWidget(removeLabel, 0, 2);
    typeLayout->addWidget(m_keep, 1, 0);
    typeLayout->addLayout(arrows, 1, 1);
    typeLayout->addWidget(m_remove, 1, 2);
    auto* typeButtons = new QHBoxLayout;
    typeButtons->addWidget(button(types, "Command_RefreshFileType", QStringLiteral("刷 新")));
    typeButtons->addWidget(button(types, "Command_ExecFileType", QStringLiteral("执 行")));
    typeLayout->addLayout(typeButtons, 2, 0, 1, 3);
    top->addWidget(types);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(button(this, "Command_RemoveSelected", QStringLiteral("去除选中")));
    bottom->addWidget(button(this, "Command_RemoveNotSelected", QStringLiteral("去除未选中")));
    bottom->addWidget(button(this, "Command_RemoveAll", QStringLiteral("移出全部")));
    auto* close = button(this, "Command_Close", QStringLiteral("关 闭"));
    bottom->addWidget(close);
    top->addLayout(bottom);
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
}

void FilterDialog::showFilterDialog()
{
    m_position[0]->setChecked(true);
    m_action[0]->setChecked(true);
    m_text->clear();
    m_remove->clear();
    // Types stay from earlier showings; new ones are appended in order of first appearance.
    QSet<QString> known;
    for (int i = 0; i < m_keep->count(); ++i)
        known.insert(m_keep->item(i)->text());
    for (int row = 0; row < m_list.fileCount(); ++row) {
        QString type = m_list.cell(row, ColFileType);
        if (trimBlanks(type).isEmpty())
            type = NoExtensionMarker;
        if (!known.contains(type)) {
            known.insert(type);
            m_keep->addItem(type);
        }
    }
    show();
}

SortDialog::SortDialog(QWidget* parent)
    : HidingDialog("Form_SortListFile", QStringLiteral("文件列表排序"), parent)
{
    auto* top = new QHBoxLayout(this);
    Frame* order = frame(this, "Frame1", QStringLiteral(" 排序方式 "));
    auto* orderLayout = new QHBoxLayout(order);
    frameMargins(orderLayout, order);
    orderLayout->addWidget(options<5>(order, QStringLiteral("Option1"),
                                      {u"文件名称", u"文件类型", u"文件大小", u"创建时间", u"修改时间"},
                                      m_key, Qt::Vertical));
    orderLayout->addWidget(
        options<2>(order, QStringLiteral("Option2"), {u"升序", u"降序"}, m_direction, Qt::Vertical));
    orderLayout->addWidget(
        options<2>(order, QStringLiteral("Option3"), {u"区分目录", u"目录无关"}, m_folders, Qt::Vertical));
    top->addWidget(order);

    auto* side = new QGridLayout;
    side->addWidget(button(this, "Command_ExecSort", QStringLiteral("执 行")), 0, 0, 1, 2);
    side->addWidget(button(this, "Command1", QStringLiteral("上移一步")), 1, 0);
    side->addWidget(button(this, "Command2", QStringLiteral("下移一步")), 1, 1);
    side->addWidget(button(this, "Command3", QStringLiteral("上移 X步")), 2, 0);
    side->addWidget(button(this, "Command4", QStringLiteral("下移 X步")), 2, 1);
    side->addWidget(button(this, "Command5", QStringLiteral("移至顶部")), 3, 0);
    side->addWidget(button(this, "Command6", QStringLiteral("移至底部")), 3, 1);
    auto* stepLabel = named(new QLabel(QStringLiteral("移动基数 X = "), this), "Label1");
    m_step = named(new QLineEdit(this), "Text_BaseNum");
    stepLabel->setBuddy(m_step);
    m_step->setAccessibleName(stepLabel->text());
    side->addWidget(stepLabel, 4, 0);
    side->addWidget(m_step, 4, 1);
    auto* close = button(this, "Command_Close", QStringLiteral("关 闭"));
    side->addWidget(close, 5, 0, 1, 2);
    top->addLayout(side);
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
}

void SortDialog::showSortDialog()
{
    m_key[0]->setChecked(true);
    m_direction[0]->setChecked(true);
    m_folders[0]->setChecked(true);
    m_step->setText(QStringLiteral("10"));
    show();
}

} // namespace tamsel
