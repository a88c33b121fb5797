// Readers of the ZIP-based office formats: Office Open XML (word processing, spreadsheet,
// presentation) and OpenDocument (text, spreadsheet, presentation).
#pragma once

#include "extract/extract_result.h"
#include "extract/text_sink.h"
#include "extract/zip_reader.h"

namespace kantoria {

// Body, then headers, footers, footnotes and endnotes.
Extracted ReadDocx(ZipReader& zip, TextSink& sink);
// Every sheet in the workbook's order, a line a row, cells apart by tabs.
Extracted ReadXlsx(ZipReader& zip, TextSink& sink);
// Every slide in the presentation's order, each followed by its notes.
Extracted ReadPptx(ZipReader& zip, TextSink& sink);
// content.xml, then meta.xml's title, subject, description and keywords when present.
Extracted ReadOdf(ZipReader& zip, TextSink& sink);

// Which of the readers above suits an archive, by the parts it holds; nullptr when none.
using ZipDocumentReader = Extracted (*)(ZipReader&, TextSink&);
ZipDocumentReader ReaderForArchive(ZipReader& zip);

}  // namespace kantoria
