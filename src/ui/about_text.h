// The About dialog's own texts: the link, the version lookup paths and the
// description are kept scrambled; the version line is built from the module's
// version resource, or from the compiled-in version when that is unreadable.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ui/scrambled_text.h"
#include "ui/ui_language.h"

// The project's home page, opened by the About link.
#define GRIDSMITH_HOME_PAGE u"https://brackenhold.github.io/gridsmith/"

namespace gridsmith::ui {

// The link both dialogs show, in each language.
inline constexpr ScrambledText kHomePageLinkMarkup{
    u"<a href=\"" GRIDSMITH_HOME_PAGE u"\">Gridsmith 项目主页</a>"};
inline constexpr ScrambledText kHomePageLinkMarkupEnglish{
    u"<a href=\"" GRIDSMITH_HOME_PAGE u"\">Gridsmith home page</a>"};

// First lookup: the language and code page of the version strings.
inline constexpr ScrambledText kVersionTranslationPath{u"\\VarFileInfo\\Translation"};
// Second lookup, formatted with that pair.
inline constexpr ScrambledText kVersionValuePath{u"\\StringFileInfo\\%04x%04x\\FileVersion"};

inline constexpr ScrambledText kAboutDescription{
    u"Gridsmith 在当前图层或选区中绘制表格：行数和列数、总宽高或逐列宽度与逐行高度、"
    u"边距、网格线和外边框的宽度与线型（实线、虚线、点线、点划线、双点划线）、"
    u"线条颜色和不透明度，以及首行、正文行和隔行的底色。\r\n"
    u"参数可随动作记录和回放，也可保存为参数文件，下次再载入。"};
inline constexpr ScrambledText kAboutDescriptionEnglish{
    u"Gridsmith draws a table into the current layer or selection: the numbers of rows and columns, "
    u"the total width and height or each column's width and each row's height, the margins, the width "
    u"and style (solid, dashed, dotted, dash-dot, dash-dot-dot) of the grid lines and of the borders, "
    u"the line colour and opacity, and the colours of the first row, the other rows and the alternate "
    u"rows.\r\n"
    u"The settings are recorded and replayed with actions, and can be saved to a parameter file and "
    u"loaded again later."};

// The link's markup and the description in `language`, unscrambled.
std::u16string HomePageLinkMarkup(UiLanguage language);
std::u16string AboutDescription(UiLanguage language);

// The language and code page of one translation entry, as the second path's
// "%04x%04x" wants them: the entry's low word, then its high word.
struct VersionTranslation {
    uint16_t language;
    uint16_t codePage;
};

// `pattern` with its "%04x%04x" replaced by the pair in lower-case hex.
std::u16string VersionValuePath(std::u16string_view pattern, VersionTranslation translation);

// "V" + version + " 版", or "version " + version in English; an empty
// `moduleVersion` (the lookups failed) gives the compiled-in major.minor
// version.
std::u16string VersionLabel(std::u16string_view moduleVersion, UiLanguage language);

// What the dialog shows: the label with " (64-bit)".
std::u16string VersionDisplayText(std::u16string_view label);

}  // namespace gridsmith::ui
