// Where an Office Open XML package keeps its parts: the relationships of a part, resolved to
// member names.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "extract/zip_reader.h"

namespace kantoria {

struct Relationship {
    std::string id;
    std::string type;    // the last segment of the type, e.g. "slide", "header"
    std::string target;  // the member name, resolved against the part's folder
};

// The relationships of part ("" for the package's own); none when it has no rels member or
// the member cannot be read.
std::vector<Relationship> RelationshipsOf(ZipReader& zip, const std::string& part);

// The member a relative target names from the folder of part ("../x" climbs; "/x" is absolute).
std::string ResolveTarget(std::string_view part, std::string_view target);

// The package's main part (officeDocument), or fallback when it names none.
std::string MainPart(ZipReader& zip, const std::string& fallback);

}  // namespace kantoria
