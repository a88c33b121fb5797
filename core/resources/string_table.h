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
inline constexpr int IDS_REASON_NOT_A_FILE = 215;
inline constexpr int IDS_REASON_CHANGED_ON_DISK = 216;
inline constexpr int IDS_REASON_BUSY = 217;
inline constexpr int IDS_CHANGED_ON_DISK = 218;          // %1 the file
inline constexpr int IDS_CHANGED_ON_DISK_LEAVING = 219;  // %1 the file
inline constexpr int IDS_ALL_FILES_FILTER = 207;
inline constexpr int IDS_OPEN_CAPTION = 208;
inline constexpr int IDS_SAVE_AS_CAPTION = 209;
inline constexpr int IDS_HELP_FAILED = 210;
inline constexpr int IDS_SAVE_CHANGES = 212;       // %1 the document's title
inline constexpr int IDS_END_SAVE_FAILED = 213;    // %1 the file, %2 the reason
inline constexpr int IDS_LEAVE_SAVE_FAILED = 214;  // %1 the file, %2 the reason
inline constexpr int IDS_ABOUT_CAPTION = 220;
inline constexpr int IDS_ABOUT_VERSION = 221;
inline constexpr int IDS_ABOUT_PUBLISHER = 222;
inline constexpr int IDS_ABOUT_ADDRESS = 223;
inline constexpr int IDS_BUTTON_OK = 224;
inline constexpr int IDS_BUTTON_RELOAD = 225;
inline constexpr int IDS_BUTTON_OVERWRITE = 226;
inline constexpr int IDS_BUTTON_SAVE_AS = 227;
inline constexpr int IDS_BUTTON_DISCARD = 228;
inline constexpr int IDS_BUTTON_SKIP_ALL = 229;
inline constexpr int IDS_SECTION_RECENT = 230;
inline constexpr int IDS_VALUE_RECENT_FORMAT = 231;   // "File%1"
inline constexpr int IDS_SAVED_AS_UTF8_PATH = 240;    // %1 the path code page 932 cannot hold
inline constexpr int IDS_SAVED_AS_UTF8_TEXT = 241;    // %1 the path of the entry
inline constexpr int IDS_ASK_SAVE_AS_UTF8 = 242;      // %1 the text code page 932 cannot hold
inline constexpr int IDS_ASK_UTF8_UNDECODABLE = 243;  // %1 how many entries
inline constexpr int IDS_BUTTON_SAVE_UTF8 = 244;
inline constexpr int IDS_REASON_KEPT_CP932 = 245;
inline constexpr int IDS_PATH_NOT_STORABLE = 250;  // %1 the path, %2 why
inline constexpr int IDS_PATH_TAB_OR_BREAK = 251;  // why a path cannot be stored
inline constexpr int IDS_PATH_NUL = 252;
inline constexpr int IDS_PATH_HEADER_KEY = 253;
// Why something failed, one text for each kind of failure (StatusCode).
inline constexpr int IDS_REASON_NO_SUCH_PATH = 260;
inline constexpr int IDS_REASON_FOLDER = 261;
inline constexpr int IDS_REASON_SPECIAL_FILE = 262;
inline constexpr int IDS_REASON_READ_ONLY = 263;
inline constexpr int IDS_REASON_DISK_FULL = 264;
inline constexpr int IDS_REASON_TOO_LARGE = 265;
inline constexpr int IDS_REASON_NOT_ENCODABLE = 266;
inline constexpr int IDS_REASON_NO_PROGRAM = 267;
inline constexpr int IDS_LOCK_FILE_UNUSABLE = 268;  // %1 the lock file's name, %2 why
inline constexpr int IDS_TITLE_NOT_STORABLE = 1001;

// Texts of the dialogs and views: captions, labels, buttons and the search's reports.
inline constexpr int IDS_BUTTON_CANCEL = 1101;
inline constexpr int IDS_FIELD_TITLE = 1102;
inline constexpr int IDS_FIELD_COMMENT = 1103;
inline constexpr int IDS_FIELD_FILE = 1104;
inline constexpr int IDS_FIELD_MODIFIED = 1105;
inline constexpr int IDS_FIELD_SIZE = 1106;
inline constexpr int IDS_COLUMN_PATH = 1107;
inline constexpr int IDS_FILE_SIZE = 1108;        // %1 the number of bytes
inline constexpr int IDS_DELETE_QUESTION = 1109;  // %1 the entry's title
inline constexpr int IDS_SEARCH_CAPTION = 1120;
inline constexpr int IDS_SEARCH_FOLDER = 1121;
inline constexpr int IDS_SEARCH_SUBFOLDERS = 1122;
inline constexpr int IDS_SEARCH_USE_EXTENSION = 1123;
inline constexpr int IDS_SEARCH_BROWSE = 1124;
inline constexpr int IDS_SEARCH_BROWSE_CAPTION = 1125;
inline constexpr int IDS_SEARCH_PICK_EXTENSION = 1126;
inline constexpr int IDS_SEARCH_NONE_FOUND = 1127;
inline constexpr int IDS_SEARCH_FOUND = 1128;        // %1 how many
inline constexpr int IDS_SEARCH_PROGRESS = 1129;     // %1 folder, %2 folders, %3 files, %4 found
inline constexpr int IDS_SEARCH_CANNOT_OPEN = 1130;  // %1 folder, %2 why
inline constexpr int IDS_SEARCH_SKIP_UNREADABLE = 1131;  // %1 folder, %2 why
inline constexpr int IDS_SEARCH_NOT_STORABLE = 1132;     // %1 the files, one a line
inline constexpr int IDS_SEARCH_MORE_FILES = 1133;       // %1 how many more
inline constexpr int IDS_SEARCH_UNREADABLE_LIST = 1134;  // %1 the folders, one a line
inline constexpr int IDS_SEARCH_UNREADABLE_ROW = 1135;   // %1 folder, %2 why
inline constexpr int IDS_FIND_COUNT = 1140;              // %1 how many entries were found
inline constexpr int IDS_FIND_PLACEHOLDER = 1141;        // the empty find field's hint
inline constexpr int IDS_FIND_MENU = 1142;               // the menu item that focuses the field
inline constexpr int IDS_FILE_NOT_FOUND = 1150;          // a missing entry's properties
inline constexpr int IDS_MISSING_COUNT = 1151;           // %1 how many entries are missing
inline constexpr int IDS_MISSING_LOOKING = 1152;         // %1 how many so far, still looking
inline constexpr int IDS_RELOCATE_CAPTION = 1160;
inline constexpr int IDS_RELOCATE_MOVES = 1161;      // %1 from, %2 to, %3 how many, %4 existing
inline constexpr int IDS_RELOCATE_UTF8 = 1162;       // the catalogue will be saved as UTF-8
inline constexpr int IDS_RELOCATE_CONFLICTS = 1163;  // %1 how many stay
inline constexpr int IDS_RELOCATE_CONFLICT = 1164;   // %1 title, %2 the path it would take
inline constexpr int IDS_RELOCATE_MORE = 1165;       // %1 how many more
inline constexpr int IDS_RELOCATE_QUESTION = 1166;
inline constexpr int IDS_RELOCATE_NOTHING = 1167;       // %1 from, %2 to
inline constexpr int IDS_RELOCATE_NOT_STORABLE = 1169;  // %1 from, %2 to, %3 why
inline constexpr int IDS_CSV_FILTER = 1180;
inline constexpr int IDS_EXPORT_UNDECODABLE = 1181;  // %1 how many entries
inline constexpr int IDS_IMPORT_SKIPPED = 1182;      // %1 how many rows
inline constexpr int IDS_IMPORT_SKIPPED_ROW = 1183;  // %1 line, %2 path, %3 reason
inline constexpr int IDS_EXPORT_CAPTION = 1184;
inline constexpr int IDS_IMPORT_NO_HEADER = 1185;  // %1 the file
inline constexpr int IDS_IMPORT_NO_PATH = 1186;    // reasons a row was skipped
inline constexpr int IDS_IMPORT_REGISTERED = 1187;
inline constexpr int IDS_IMPORT_NOT_STORABLE = 1188;
inline constexpr int IDS_IMPORT_CAPTION = 1189;
inline constexpr int IDS_IMPORT_NUL = 1196;  // more reasons a row was skipped
inline constexpr int IDS_IMPORT_HEADER_KEY = 1197;
inline constexpr int IDS_DELETE_MANY_QUESTION = 1190;   // %1 how many entries
inline constexpr int IDS_OPEN_MANY_QUESTION = 1191;     // %1 how many files
inline constexpr int IDS_IMPORT_UNCLOSED_QUOTE = 1195;  // %1 the row the open quote is in
inline constexpr int IDS_UNDO_MENU_STEP = 1220;         // %1 the step's name, and the prompts:
inline constexpr int IDS_REDO_MENU_STEP = 1221;
inline constexpr int IDS_UNDO_PROMPT_STEP = 1222;
inline constexpr int IDS_REDO_PROMPT_STEP = 1223;
inline constexpr int IDS_STEP_COUNTED = 1224;  // %1 the step's kind, %2 how many entries
inline constexpr int IDS_STEP_ADD = 1225;      // the kinds of steps, as the menus name them
inline constexpr int IDS_STEP_UPDATE = 1226;
inline constexpr int IDS_STEP_RENAME = 1227;
inline constexpr int IDS_STEP_DELETE = 1228;
inline constexpr int IDS_STEP_CUT = 1229;
inline constexpr int IDS_STEP_PASTE = 1230;
inline constexpr int IDS_STEP_SEARCH = 1231;
inline constexpr int IDS_STEP_RELOCATE = 1232;
inline constexpr int IDS_STEP_IMPORT = 1233;
inline constexpr int IDS_VALUE_FOLDERTREE = 1240;  // whether the tree shows folder nodes
// What a screen reader calls the parts of the window, and what it says of a row's file.
inline constexpr int IDS_NAME_HOLDER_TREE = 1260;
inline constexpr int IDS_NAME_ENTRY_LIST = 1261;
inline constexpr int IDS_NAME_FIND_FIELD = 1262;
inline constexpr int IDS_NAME_FIND_CLEAR = 1263;
inline constexpr int IDS_NAME_STATUS_BAR = 1264;
inline constexpr int IDS_NAME_CAPS_LOCK = 1265;
inline constexpr int IDS_NAME_NUM_LOCK = 1266;
inline constexpr int IDS_NAME_SCROLL_LOCK = 1267;
inline constexpr int IDS_LOCK_ON = 1268;
inline constexpr int IDS_LOCK_OFF = 1269;
inline constexpr int IDS_ROW_MISSING = 1270;  // the row's file or folder is not there
inline constexpr int IDS_ROW_UNKNOWN = 1271;  // the file system did not answer for it
// Finding documents by what they say.
inline constexpr int IDS_VALUE_FINDCONTENT = 1300;    // whether the find reads documents
inline constexpr int IDS_FIND_COUNT_PARTIAL = 1302;   // %1 found while the index is built
inline constexpr int IDS_UNREADABLE_COUNT = 1303;     // %1 how many documents were not read
inline constexpr int IDS_INDEX_PROGRESS = 1304;       // %1 done, %2 of how many
inline constexpr int IDS_INDEX_PAUSED = 1305;         // %1 done, %2 of how many
inline constexpr int IDS_INDEX_PAUSE = 1306;          // the button that pauses it
inline constexpr int IDS_INDEX_RESUME = 1307;         // the button that goes on
inline constexpr int IDS_CONTENT_UNREADABLE = 1308;   // %1 why: an entry's properties
inline constexpr int IDS_CONTENT_UNTITLED = 1309;     // an unsaved catalogue has no index
inline constexpr int IDS_ROW_FOUND_IN_TEXT = 1310;    // the row was found in its document
inline constexpr int IDS_INDEX_FAILED = 1311;         // %1 why the index cannot be updated
inline constexpr int IDS_FIND_CONTENT_BUTTON = 1314;  // the button beside the find field
// The preview pane beside the entry list.
inline constexpr int IDS_PREVIEW_NONE = 1340;
inline constexpr int IDS_PREVIEW_MANY = 1341;        // %1 how many entries are selected
inline constexpr int IDS_PREVIEW_MISSING = 1342;     // %1 the path
inline constexpr int IDS_PREVIEW_UNREADABLE = 1343;  // %1 why
inline constexpr int IDS_PREVIEW_LOADING = 1344;
inline constexpr int IDS_PREVIEW_DAMAGED = 1345;  // reasons a PDF or picture gives no pages
inline constexpr int IDS_PREVIEW_LOCKED = 1346;
inline constexpr int IDS_NAME_PREVIEW = 1347;
inline constexpr int IDS_VALUE_PREVIEW = 1348;       // whether the pane is shown
inline constexpr int IDS_VALUE_PREVIEWWIDTH = 1349;  // its width in pixels

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

// The fields of the document template string, in their order there.
enum class DocField {
    WindowTitle,
    DocName,
    FileNewName,
    FilterName,
    FilterExt,
    RegFileTypeId,
    RegFileTypeName,
};

// One field of the document template string.
std::string_view TemplateField(DocField field);

}  // namespace kantoria
