// XLIFF 2.0 documents through pugixml. Layout written:
//
//   <xliff xmlns="urn:oasis:names:tc:xliff:document:2.0" version="2.0" srcLang="en" trgLang="de">
//     <file id="f1" original="SCRIPT">
//       <unit id="u1" name="CONTEXT">
//         <notes>
//           <note category="kind">control LTEXT</note>
//           <note category="location">SCRIPT:LINE</note>
//         </notes>
//         <segment state="initial|translated">
//           <source>TEXT</source>
//           <target>TRANSLATION</target>      (only when there is one)
//         </segment>
//       </unit>
//
// A unit's id must be an XML name token, which a context ("IDD_ABOUTBOX|IDC_STATIC#3") is
// not, so the context travels in the unit's name; units are numbered u1, u2, ... in file
// order. Control characters XML cannot hold (and carriage returns, which XML readers turn
// into line feeds) are written as <cp hex="000D"/> elements.
#pragma once

#include <string>
#include <vector>

#include "translation/TranslationMerger.h"
#include "translation/TranslationUnit.h"

namespace tamrel {

struct XliffWriteOptions {
  std::string scriptName;      // the file's "original" and the location notes
  std::string sourceLanguage = "en";
  std::string targetLanguage;  // trgLang; left out when empty
};

// The document for the units that can be translated; `targets` as for WritePoFile. Text that is
// not valid UTF-8 (see CheckCatalogText) gives its errors and no document (an empty string).
std::string WriteXliff(const std::vector<TranslationUnit>& units, const std::vector<std::string>& targets,
                       const XliffWriteOptions& options, std::vector<std::string>& errors);

// Reads a document: one entry per unit (its name, or its id when it has none). A segment with
// state "initial" and a target is a fuzzy translation. Text that is not XML, or XML that is not
// an XLIFF 2.0 document, gives its error in `errors`.
std::vector<CatalogEntry> ReadXliff(const std::string& text, const std::string& fileName,
                                    std::vector<std::string>& errors);

}  // namespace tamrel
