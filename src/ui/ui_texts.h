// The texts the plug-in shows outside its resources, each in both interface
// languages: the checks' messages at OK, the parameter files' dialog, the
// About dialog's version line. A new text is one more line here and one more
// entry in kEveryText.
#pragma once

#include "ui/ui_language.h"

namespace gridsmith::ui::texts {

// The checks at OK; "%ld" takes the largest count.
inline constexpr LocalText kWidthInvalid{u"请输入正确的表格宽度！[2, ] 或者留空。",
                                         u"Please enter a valid table width [2, ], or leave it empty."};
inline constexpr LocalText kWidthMissing{u"【表格宽度】和【每列宽度】请至少输入一项！",
                                         u"Please fill in at least one of \u201CTable width\u201D and \u201CColumn widths\u201D."};
inline constexpr LocalText kHeightInvalid{u"请输入正确的表格高度！[2, ] 或者留空。",
                                          u"Please enter a valid table height [2, ], or leave it empty."};
inline constexpr LocalText kHeightMissing{u"【表格高度】和【每行高度】请至少输入一项！",
                                          u"Please fill in at least one of \u201CTable height\u201D and \u201CRow heights\u201D."};
inline constexpr LocalText kRowsInvalid{u"请输入正确的行数 [1, %ld]。", u"Please enter a valid number of rows [1, %ld]."};
inline constexpr LocalText kColumnsInvalid{u"请输入正确的列数 [1, %ld]。",
                                           u"Please enter a valid number of columns [1, %ld]."};
inline constexpr LocalText kLayoutFailed{u"布局表格失败！请点取消。",
                                         u"The table cannot be laid out. Please click Cancel."};

// The parameter files' dialogs: the name the save dialog proposes and the
// names of the two file types.
inline constexpr LocalText kDefaultParamsFileName{u"表格参数_01.txt", u"table-parameters-01.txt"};
inline constexpr LocalText kTextFiles{u"文本文件(*.txt)", u"Text files (*.txt)"};
inline constexpr LocalText kIniFiles{u"INI 文件(*.ini)", u"INI files (*.ini)"};

// The About dialog's version line; "%s" takes the version.
inline constexpr LocalText kVersionLabel{u"V%s 版", u"version %s"};

inline constexpr const LocalText* kEveryText[] = {
    &kWidthInvalid, &kWidthMissing,          &kHeightInvalid, &kHeightMissing, &kRowsInvalid,
    &kColumnsInvalid, &kLayoutFailed, &kDefaultParamsFileName, &kTextFiles,    &kIniFiles,
    &kVersionLabel,
};

}  // namespace gridsmith::ui::texts
