// Every user text and setting name of the program, by number. Commands have their status-bar
// prompt and toolbar tooltip under their own number, separated by a line break.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace kantoria {

// Numbered texts that code refers to by name.
inline constexpr int IDS_OLE_INIT_FAILED = 100;
inline constexpr int IDS_DEFAULT_CATALOGUE = 103;  // "MORKA.ZNL": only its extension is used
inline constexpr int IDS_SECTION_SETTINGS = 108;
inline constexpr int IDS_VALUE_ZNLPATH = 109;
inline constexpr int IDS_REGISTRY_KEY = 111;
inline constexpr int IDS_FILE_OR_PROGRAM_MISSING = 118;
inline constexpr int IDR_MAINFRAME = 128;  // the document template's seven fields
inline constexpr int IDS_PRODUCT_TITLE = 130;
inline constexpr int IDS_VALUE_WINPOSX = 146;
inline constexpr int IDS_VALUE_WINPOSY = 147;
inline constexpr int IDS_VALUE_WINWIDTH = 149;
inline constexpr int IDS_VALUE_WINHEIGHT = 150;
inline constexpr int IDS_SECTION_STATUS = 151;

// Texts of the program's own making: its reports, dialog captions and the about box.
inline constexpr int IDS_UNTITLED = 200;
inline constexpr int IDS_OPEN_FAILED = 201;  // %1 the file, %2 the reason
inline constexpr int IDS_SAVE_FAILED = 202;  // %1 the file, %2 the reason
inline constexpr int IDS_REASON_NOT_FOUND = 203;
inline constexpr int IDS_REASON_ACCESS_DENIED = 204;
inline constexpr int IDS_REASON_IS_FOLDER = 205;
inline constexpr int IDS_REASON_OTHER = 206;  // %1 the system's wording
inline constexpr int IDS_ALL_FILES_FILTER = 207;
inline constexpr int IDS_OPEN_CAPTION = 208;
inline constexpr int IDS_SAVE_AS_CAPTION = 209;
inline constexpr int IDS_HELP_FAILED = 210;
inline constexpr int IDS_SAVE_CHANGES = 212;     // %1 the document's title
inline constexpr int IDS_END_SAVE_FAILED = 213;  // %1 the file, %2 the reason
inline constexpr int IDS_ABOUT_CAPTION = 220;
inline constexpr int IDS_ABOUT_VERSION = 221;
inline constexpr int IDS_ABOUT_PUBLISHER = 222;
inline constexpr int IDS_ABOUT_ADDRESS = 223;
inline constexpr int IDS_ABOUT_OK = 224;
inline constexpr int IDS_SECTION_RECENT = 230;
inline constexpr int IDS_VALUE_RECENT_FORMAT = 231;  // "File%1"
inline constexpr int IDS_TITLE_NOT_STORABLE = 1001;

inline constexpr int AFX_IDS_APP_TITLE = 57344;
inline constexpr int AFX_IDS_IDLEMESSAGE = 57345;
inline constexpr int AFX_IDS_HELPMODEMESSAGE = 57346;
inline constexpr int ID_INDICATOR_CAPS = 59137;
inline constexpr int ID_INDICATOR_NUM = 59138;
inline constexpr int ID_INDICATOR_SCRL = 59139;

// The text of string id; empty when the table has none.
std::string_view LoadString(int id);

// String id with %1, %2, ... replaced by the arguments in order.
std::string FormatString(int id, std::initializer_list<std::string_view> arguments);

// The status-bar prompt of a command: its string up to the line break.
std::string_view CommandPrompt(int id);
// The toolbar tooltip of a command: its string after the line break; empty without one.
std::string_view CommandTooltip(int id);

// Field index (0 to 6) of the document template string: window title, document name, new-file
// name, filter name, filter extension, file-type id, file-type name.
std::string_view TemplateField(int index);

}  // namespace kantoria
