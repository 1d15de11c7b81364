// SPDX-License-Identifier: GPL-3.0-or-later
// The window's named controls with what they show, what a screen reader hears, where they stand
// and on what colour, and its menus: one copy for every test that checks them.
#pragma once

#include <QColor>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>
#include <utility>

namespace tamsel::test {

struct Control {
    const char* name;
    // What it shows at start-up: a label's or a button's text, an input's text, a frame's caption
    // (its accessible name); empty: not checked.
    QString shown;
    QString heard; // the accessible name a screen reader reads; empty: not checked
    QRect place;   // where it stands in its parent in the layout's own size; empty: not checked
    QColor ground; // the colour behind it; invalid: not checked
};

inline const QList<Control>& controls()
{
    using namespace Qt::StringLiterals;
    const QColor page(238, 246, 251);
    const QColor panel(189, 211, 251);
    const QString fromStart = u"从首字符开始（从前往后）"_s;
    static const QList<Control> list = {
        {"Toolbar1", {}, {}, {0, 0, 794, 37}, {}},
        {"Frame_FileList", u"［文件列表］"_s, {}, {8, 48, 457, 425}, page},
        {"MSFlexGrid1", {}, {}, {8, 16, 441, 401}, {}},
        {"Frame_SetReNameMode", u"［设定重命名方式］"_s, {}, {472, 48, 313, 281}, page},
        {"SSTab1", {}, {}, {8, 16, 297, 257}, page},
        {"Frame_Explain", u"［说明］"_s, {}, {}, page},
        {"Label_Explain", u"将多个文件名更改为有序的字符串"_s, {}, {32, 32, 249, 89}, {}},
        {"Frame_BasicSet", u"[基本设置]"_s, {}, {}, panel},
        {"Frame_OptionalSet", u"[可选设置]"_s, {}, {}, panel},
        {"Frame_Filename", u"[文件名]"_s, {}, {}, panel},
        {"Frame_Extension", u"[扩展名]"_s, {}, {}, panel},
        {"Label1", u"总文件数："_s, {}, {}, {}},
        {"Label_FileSum", u"0"_s, {}, {}, {}},
        {"Label2", u"已选文件："_s, {}, {}, {}},
        {"Label_FileSel", u"0"_s, {}, {}, {}},
        {"Label_Preview", u"预处理"_s, {}, {}, {}},
        {"Picture_Preview", {}, u"预处理"_s, {296, 488, 65, 26}, {}},
        {"Label_Mask_Preview", {}, {}, {280, 472, 97, 57}, {}},
        {"Label_Execution", u"重命名"_s, {}, {}, {}},
        {"Picture_Execution", {}, u"重命名"_s, {392, 488, 65, 26}, {}},
        {"Label_Mask_Execution", {}, {}, {}, {}},
        {"Label_Browse", u"浏 览"_s, {}, {}, {}},
        {"Picture_Browse", {}, u"浏 览"_s, {232, 32, 49, 42}, {}},
        {"Label_Mask_Browse", {}, {}, {}, {}},
        {"Label_CountSUM", u"刷  新"_s, {}, {}, {}},
        {"Picture_CountSUM", {}, u"刷  新"_s, {216, 224, 65, 26}, {}},
        {"Label_Mask_CountSUM", {}, {}, {}, {}},
        {"Label26", u"打开含有文件名列表的文档：>>>"_s, {}, {}, {}},
        {"Label27", u"列表中文件名的数量："_s, {}, {}, {}},
        {"Label_FileContentSUM", u"0"_s, {}, {}, {}},
        {"Text_FileContent", {}, {}, {16, 88, 265, 129}, {}},
        {"Picture_KervoLink", {}, {}, {472, 485, 313, 33}, panel},
        {"Label_KervoLink", u"更多精品软件请访问Tamsel软件站  tamsel.example"_s, {}, {}, {}},
        {"Line_KervoLink", {}, {}, {}, QColor(0, 0, 255)},
        {"Line1", {}, {}, {}, {}},
        {"Combo_OrdinalModel", u"阿拉伯数字（1）"_s, u"序数模式："_s, {}, {}},
        {"Combo_GrowthBase", u"1"_s, u"增量："_s, {}, {}},
        {"Combo_StartChar", u"0"_s, u"开始字符："_s, {68, 52, 113, 20}, {}},
        {"Combo_Digit", u"1"_s, u"位数："_s, {}, {}},
        {"Text_BofAddChar", {}, u"在文件名前面加字符："_s, {}, {}},
        {"Text_EofAddChar", {}, u"在文件名后面加字符："_s, {}, {}},
        {"Combo_ModifiedSuffix", u"不修改"_s, u"修改文件的扩展名为："_s, {}, {}},
        {"Combo_LocateMode_Del", fromStart, u"定位模式："_s, {}, {}},
        {"Text_MedianOffset_Del", u"0"_s, u"偏移位数："_s, {}, {}},
        {"Combo_DeleteDirection", u"向后（向右）"_s, u"删除方向："_s, {}, {}},
        {"Text_DeleteMedian", u"1"_s, u"删除位数："_s, {96, 140, 81, 20}, {}},
        {"VScroll_DeleteMedian", {}, u"删除位数："_s, {160, 140, 17, 20}, {}},
        {"Combo_LocateMode_Insert", fromStart, u"定位模式："_s, {}, {}},
        {"Text_MedianOffset_Insert", u"0"_s, u"偏移位数："_s, {}, {}},
        {"Text_InsertCharacter", {}, u"插入字符："_s, {}, {}},
        {"Text_SourceChar", {}, u"将字符串："_s, {}, {}},
        {"Text_DestChar", {}, u"替换成为："_s, {}, {}},
        {"Check_DirectDelete", u"直接删除"_s, {}, {}, panel},
        {"Check_RegularExpression", u"正则表达式"_s, {}, {}, panel},
        {"Option_Filename_0", u"保持不变"_s, {}, {}, panel},
        {"Option_Filename_1", u"首字大写"_s, {}, {}, {}},
        {"Option_Filename_2", u"全部大写"_s, {}, {}, panel},
        {"Option_Filename_3", u"全部小写"_s, {}, {}, panel},
        {"Option_Extension_0", u"保持不变"_s, {}, {}, panel},
        {"Option_Extension_1", u"首字大写"_s, {}, {}, {}},
        {"Option_Extension_2", u"全部大写"_s, {}, {}, {}},
        {"Option_Extension_3", u"全部小写"_s, {}, {24, 128, 81, 17}, panel},
    };
    return list;
}

// The visible menus, each with its items in order.
inline const QList<std::pair<const char*, QStringList>>& menuItems()
{
    using namespace Qt::StringLiterals;
    static const QList<std::pair<const char*, QStringList>> menus = {
        {"Menu_File", {u"添加文件 (&F)"_s, u"添加目录 (&D)"_s, u"文件搜索 (&S)"_s, u"退  出 (&X)"_s}},
        {"Menu_Edit",
         {u"上移一步 (&P)"_s, u"下移一步 (&N)"_s, u"移至顶部 (&T)"_s, u"移至底部 (&B)"_s, u"删除全部"_s,
          u"删除选中"_s, u"刷新文件 (&R)"_s, QString(), u"撤销重命名 (&U)"_s}},
        {"Menu_Run",
         {u"预处理 (&P)"_s, u"叠加预处理 (&C)"_s, u"重命名 (&E)"_s, QString(), u"修复乱码文件名 (&G)"_s,
          u"中文转换 (&Z)"_s, u"按文件信息命名 (&I)"_s}},
        {"Menu_Help", {u"访问首页 (&V)"_s, u"关  于 "_s}},
    };
    return menus;
}

} // namespace tamsel::test
