// The regional kit numbers that come with a template codeplug: the file the program folder holds
// for each, and the region code stored after loading it. Some region codes differ from those of
// KitRegionTable; the fill chain applies that table last.
#pragma once

#include <QString>
#include <array>

// One row of RegionTemplateTable.
struct RegionTemplateEntry {
  const char* kitNumber;     // eleven characters
  const char* templateFile;  // file name inside the program folder; case matters
  int regionCode;
};

// The 49 kit numbers with a template, in the order in which they are compared.
extern const std::array<RegionTemplateEntry, 49> RegionTemplateTable;

// The first row whose kit number equals the text, whole and case-sensitive; nullptr when none.
const RegionTemplateEntry* FindRegionTemplate(const QString& kitNumber);

// The full path of a row's template file: the program folder, "/", the file name.
QString RegionTemplatePath(const RegionTemplateEntry& entry);
