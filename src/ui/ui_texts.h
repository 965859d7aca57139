// The texts the plug-in shows outside its resources, each in both interface
// languages: the checks' messages at OK, the parameter files' dialog and the
// warnings about them, the About dialog's version line. A new text is one
// more line here and one more entry in kEveryText.
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

// A parameter file that could not be saved or loaded: the file goes into the
// first "%s", the reason into the second; "%lu" takes the system's error
// number.
inline constexpr LocalText kNotSaved{u"参数未保存：无法写入文件“%s”，因为%s。",
                                     u"The parameters were not saved: the file \u201C%s\u201D could not be written because %s."};
inline constexpr LocalText kNotLoaded{u"参数未载入：无法读取文件“%s”，因为%s。",
                                      u"The parameters were not loaded: the file \u201C%s\u201D could not be read because %s."};
inline constexpr LocalText kReadOnly{u"该文件是只读的", u"it is read-only"};
inline constexpr LocalText kMissingFolder{u"它所在的文件夹不存在", u"its folder does not exist"};
inline constexpr LocalText kMissingFile{u"该文件不存在", u"it does not exist"};
inline constexpr LocalText kAccessDenied{u"没有访问该文件的权限", u"access to it is denied"};
inline constexpr LocalText kDiskFull{u"磁盘空间不足", u"the disk is full"};
inline constexpr LocalText kFileInUse{u"该文件正被其他程序使用", u"another program is using it"};
inline constexpr LocalText kSystemError{u"发生了系统错误 %lu", u"of system error %lu"};

// The About dialog's version line; "%s" takes the version.
inline constexpr LocalText kVersionLabel{u"V%s 版", u"version %s"};

inline constexpr const LocalText* kEveryText[] = {
    &kWidthInvalid, &kWidthMissing,          &kHeightInvalid, &kHeightMissing, &kRowsInvalid,
    &kColumnsInvalid, &kLayoutFailed, &kDefaultParamsFileName, &kTextFiles,    &kIniFiles,
    &kVersionLabel,  &kNotSaved,     &kNotLoaded,     &kReadOnly,      &kMissingFolder,
    &kMissingFile,   &kAccessDenied, &kDiskFull,      &kFileInUse,     &kSystemError,
};

}  // namespace gridsmith::ui::texts
