// SPDX-License-Identifier: GPL-3.0-or-later
// The window's named controls with what they show and what a screen reader hears, and its menus:
// one copy for every test that checks them.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

namespace tamsel::test {

struct ControlText {
    const char* name;
    QString shown; // a label's text, or what the control is named for; empty: not checked
    QString heard; // the accessible name a screen reader reads; empty: not checked
};

inline const QList<ControlText>& controlTexts()
{
    using namespace Qt::StringLiterals;
    static const QList<ControlText> texts = {
        {"Frame_FileList", u"［文件列表］"_s, {}},
        {"Frame_SetReNameMode", u"［设定重命名方式］"_s, {}},
        {"Frame_Explain", u"［说明］"_s, {}},
        {"Frame_BasicSet", u"[基本设置]"_s, {}},
        {"Frame_OptionalSet", u"[可选设置]"_s, {}},
        {"Frame_Filename", u"[文件名]"_s, {}},
        {"Frame_Extension", u"[扩展名]"_s, {}},
        {"Label1", u"总文件数："_s, {}},
        {"Label2", u"已选文件："_s, {}},
        {"Label_Preview", u"预处理"_s, {}},
        {"Label_Execution", u"重命名"_s, {}},
        {"Label_Browse", u"浏 览"_s, {}},
        {"Label_CountSUM", u"刷  新"_s, {}},
        {"Label26", u"打开含有文件名列表的文档：>>>"_s, {}},
        {"Label27", u"列表中文件名的数量："_s, {}},
        {"Label_KervoLink", u"更多精品软件请访问Tamsel软件站  tamsel.example"_s, {}},
        {"Combo_OrdinalModel", {}, u"序数模式："_s},
        {"Combo_GrowthBase", {}, u"增量："_s},
        {"Combo_StartChar", {}, u"开始字符："_s},
        {"Combo_Digit", {}, u"位数："_s},
        {"Text_BofAddChar", {}, u"在文件名前面加字符："_s},
        {"Text_EofAddChar", {}, u"在文件名后面加字符："_s},
        {"Combo_ModifiedSuffix", {}, u"修改文件的扩展名为："_s},
        {"Combo_LocateMode_Del", {}, u"定位模式："_s},
        {"Text_MedianOffset_Del", {}, u"偏移位数："_s},
        {"Combo_DeleteDirection", {}, u"删除方向："_s},
        {"Text_DeleteMedian", {}, u"删除位数："_s},
        {"VScroll_DeleteMedian", {}, u"删除位数："_s},
        {"Combo_LocateMode_Insert", {}, u"定位模式："_s},
        {"Text_MedianOffset_Insert", {}, u"偏移位数："_s},
        {"Text_InsertCharacter", {}, u"插入字符："_s},
        {"Text_SourceChar", {}, u"将字符串："_s},
        {"Text_DestChar", {}, u"替换成为："_s},
        {"Picture_Preview", {}, u"预处理"_s},
        {"Picture_Execution", {}, u"重命名"_s},
        {"Picture_Browse", {}, u"浏 览"_s},
        {"Picture_CountSUM", {}, u"刷  新"_s},
    };
    return texts;
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
        {"Menu_Run", {u"预处理 (&P)"_s, u"重命名 (&E)"_s, QString(), u"修复乱码文件名 (&G)"_s}},
        {"Menu_Help", {u"访问首页 (&V)"_s, u"关  于 "_s}},
    };
    return menus;
}

} // namespace tamsel::test
