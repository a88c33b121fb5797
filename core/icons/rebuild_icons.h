// Giving every entry of the catalogue the icon of its file type.
#pragma once

#include "core/catalogue/catalogue.h"
#include "core/os/environment.h"
#include "core/ports/file_types.h"
#include "core/ports/icon_factory.h"

namespace kantoria {

struct IconServices {
    FileTypeRegistry& types;
    IconFactory& icons;
    const Environment& env;
};

// Rebuilds doc.Extensions() (the distinct extensions, without regard to case, in order of first
// appearance, spelled as the first entry spells them), the two image lists (image k belongs to
// extension k) and every entry's image index. The icon of an extension is its type's icon, else
// the first icon of the program that opens the first file with it, else the default icon.
void RebuildIcons(Catalogue& doc, const IconServices& services);

}  // namespace kantoria
