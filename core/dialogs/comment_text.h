// Comments keep their line breaks as CR LF, as catalogues written on Windows hold them, while
// Qt's text fields speak LF. These convert between the two without touching a comment the
// user did not edit.
#pragma once

#include <string>

namespace kantoria {

// The comment as a text field shows it: every CR LF and every lone CR becomes LF.
std::string CommentForField(const std::string& comment);

// What the field gave back, as the comment to store: each LF becomes CR LF.
std::string CommentFromField(const std::string& fieldText);

}  // namespace kantoria
