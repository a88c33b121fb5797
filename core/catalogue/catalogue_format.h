// The catalogue file: five header lines, then one line per entry (path TAB title TAB comment,
// with each line break of the comment written as TAB), every line ending in CR LF.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/base/status.h"
#include "core/os/atomic_file.h"
#include "core/os/file_read.h"
#include "core/text/text_codec.h"

namespace kantoria {

class Catalogue;
struct EncodingSwitch;

inline constexpr std::string_view kKeySelected = "SELECTED";
inline constexpr std::string_view kKeyLastHolder = "LASTHOLDER";
inline constexpr std::string_view kKeyTitleWidth = "TITLEWIDTH";
inline constexpr std::string_view kKeyCommentWidth = "COMMENTWIDTH";
inline constexpr std::string_view kKeyPathWidth = "PATHWIDTH";

// The encoding a file's bytes are read in: UTF-8 after a byte-order mark; UTF-8 when the
// whole file is well-formed UTF-8 and not plain ASCII; code page 932 otherwise. bodyStart
// receives the offset after a byte-order mark.
Encoding DetectEncoding(std::string_view bytes, size_t& bodyStart);

// Reads the lines of bytes into doc (entries appended, header values overwritten).
void ReadCatalogue(Catalogue& doc, std::string_view bytes);

// Hands a file's bytes from its beginning to consume, a piece at a time, and answers how the
// reading ended; may be asked more than once, each time from the beginning of the same bytes.
using PieceSource = std::function<Status(const std::function<void(std::string_view)>& consume)>;

// Reads the bytes source hands into doc as ReadCatalogue would read them, holding one piece at
// a time. The bytes are read once unless they look like UTF-8 until a late piece proves them
// not to be; sizeHint (the file's size, or 0) helps to prepare for the entries to come.
Status ReadCataloguePieces(Catalogue& doc, const PieceSource& source, uint64_t sizeHint);

// Reads the file into doc as ReadCatalogue would read its bytes, holding no more than
// pieceSize bytes of the file at a time.
Status ReadCatalogueFile(Catalogue& doc, const ReadableFile& file, size_t pieceSize);
// The same for the file at systemPath, opened once.
Status ReadCatalogueFile(Catalogue& doc, const std::string& systemPath, size_t pieceSize);

// Whether a code page 932 file can hold text exactly; a save of a code page 932 catalogue
// that holds other text leaves for UTF-8 with a byte-order mark.
bool FitsCp932(std::string_view text);

// What a save of doc now would change about its encoding: nothing, unless doc is code page 932
// and some text has no code page 932 form.
std::optional<EncodingSwitch> PlanEncodingSwitch(const Catalogue& doc);

// Writes doc to sink in enc. A code page 932 document written in another encoding is written as
// it is shown (ToShownText). Fails with NotEncodable when some text would not read back the
// same in this encoding, and with the sink's status when the sink refused bytes. A code page 932
// file that would read as UTF-8 gets "｡" instead of "=" after the title width's key, which
// every reader skips like "=", and stays code page 932.
Status WriteCatalogue(const Catalogue& doc, Encoding enc, ByteSink& sink);

}  // namespace kantoria
