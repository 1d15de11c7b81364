// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/filelist/FileListModel.h"

#include "core/rename/NewNames.h"
#include "core/text/NameCodec.h"
#include "gui/accessibility/GridAccessible.h"

namespace tamsel {

FileListModel::FileListModel(FileList& list, QObject* parent) : QAbstractTableModel(parent), m_list(list)
{
    connect(&list, &FileList::rowsChanged, this, &FileListModel::rowsChanged);
    connect(&list, &FileList::marksChanged, this, &FileListModel::marksChanged);
    connect(&list, &FileList::listReset, this, [this] {
        beginResetModel();
        m_rows = std::max(MinRows - 1, m_list.fileCount());
        endResetModel();
    });
    m_rows = std::max(MinRows - 1, m_list.fileCount());
}

QString FileListModel::headerText(int column)
{
    static const char16_t* const texts[ColumnCount] = {u"编号",         u"原文件名", u"预览",     u"执行结果",
                                                       u"文件所在目录", u"文件名称", u"文件类型", u"文件大小",
                                                       u"创建时间",     u"修改时间", u"新文件名"};
    return column >= 0 && column < ColumnCount ? QString::fromUtf16(texts[column]) : QString();
}

void FileListModel::rowsChanged(int first, int last)
{
    const int old = m_rows;
    const int target = std::max(MinRows - 1, m_list.fileCount());
    if (target > old) {
        beginInsertRows({}, old, target - 1);
        m_rows = target;
        endInsertRows();
    }
    // Rows the view knew before (blank or not) that changed; the rows beyond go afterwards.
    if (first < old) {
        const int end = std::min(last, old - 1);
        Q_EMIT dataChanged(index(first, 0), index(end, ColumnCount - 1));
        Q_EMIT headerDataChanged(Qt::Vertical, first, end);
    }
    if (target < m_rows) {
        beginRemoveRows({}, target, m_rows - 1);
        m_rows = target;
        endRemoveRows();
    }
}

void FileListModel::marksChanged()
{
    if (m_list.fileCount() > 0)
        Q_EMIT dataChanged(index(0, ColPreview), index(m_list.fileCount() - 1, ColPreview));
}

QString FileListModel::markText(int row) const
{
    const RowMark* mark = m_list.conflict(row);
    return mark ? rowMarkText(*mark) : QString();
}

int FileListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int FileListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FileListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const bool preview = index.column() == ColPreview;
    switch (role) {
    case Qt::DisplayRole:
        return displayName(m_list.cell(index.row(), index.column()));
    case Qt::ToolTipRole:
        if (preview && m_list.conflict(index.row()))
            return markText(index.row());
        return displayName(m_list.cell(index.row(), index.column()));
    case ConflictRole:
        return preview ? markText(index.row()) : QString();
    case Qt::AccessibleDescriptionRole:
        // A mark is more than a colour: screen readers say why the rename would fail.
        if (preview && m_list.conflict(index.row()))
            return markText(index.row());
        return {};
    case Qt::TextAlignmentRole:
        if (index.column() == ColNumber)
            return int(Qt::AlignCenter);
        if (index.column() == ColFileType || index.column() == ColFileSize)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

void FileListModel::setPreviewSteps(const QStringList& steps)
{
    m_steps = steps;
    m_stepsListing = m_list.listingVersion();
    Q_EMIT headerDataChanged(Qt::Horizontal, ColPreview, ColPreview);
}

QStringList FileListModel::previewSteps() const
{
    return m_stepsListing == m_list.listingVersion() ? m_steps : QStringList();
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    if (role == Qt::ToolTipRole && orientation == Qt::Horizontal && section == ColPreview) {
        const QStringList steps = previewSteps();
        if (steps.size() < 2)
            return {};
        return QString(QStringLiteral("叠加预处理：由［") + QString::number(steps.size()) +
                       QStringLiteral("］步得到（") + steps.join(QStringLiteral(" → ")) + u'）');
    }
    if (role == GridFileCountRole)
        return m_list.fileCount();
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return headerText(section);
    return section >= 0 && section < m_list.fileCount() ? QString::number(section + 1) : QString();
}

QString nameFaultText(quint8 fault)
{
    switch (NameFault(fault)) {
    case NameFault::Invalid:
        return QStringLiteral("新文件名不合法");
    case NameFault::Slash:
        return QStringLiteral("新文件名不能含有“/”");
    case NameFault::Dots:
        return QStringLiteral("新文件名不能是“.”或“..”");
    case NameFault::TooLong:
        return QStringLiteral("新文件名超过255个字节（一个汉字占3个字节）");
    case NameFault::ControlCharacter:
        return QStringLiteral("新文件名含有控制字符");
    case NameFault::DirectionControl:
        return QStringLiteral("新文件名含有改变文字方向的控制字符");
    case NameFault::None:
        break;
    }
    return {};
}

QString rowMarkText(const RowMark& mark)
{
    switch (mark.kind) {
    case RowMark::Kind::BadName:
        return nameFaultText(mark.fault);
    case RowMark::Kind::SameNewName:
        return QStringLiteral("与第［") + QString::number(mark.otherRow + 1) +
               QStringLiteral("］行的新文件名相同");
    case RowMark::Kind::NameExists:
        return QStringLiteral("文件［") + displayName(mark.name) + QStringLiteral("］已存在");
    case RowMark::Kind::SourceGone:
        return QStringLiteral("原文件［") + displayName(mark.name) + QStringLiteral("］已不存在");
    }
    return {};
}

} // namespace tamsel
