#include "editor/KitNumber.h"

#include "platform/AppSettings.h"

const std::array<RegionTemplateEntry, 49> RegionTemplateTable = {{
    {"QKLV5101AAA", "V2_APAC.cpg", 1},     // 1
    {"QKLV5101BAA", "V2_APAC_B.cpg", 1},   // 2
    {"QKLV5101CAA", "V2_APAC_C.cpg", 1},   // 3
    {"QKLV5109AAA", "V2_APAC_I.cpg", 1},   // 4
    {"QKLV5101AAE", "V2_EMEA.cpg", 18},    // 5
    {"QKLV5101BAE", "V2_EMEA_B.cpg", 18},  // 6
    {"QKLV5101CAE", "V2_EMEA_C.cpg", 18},  // 7
    {"QKLV5101AAL", "V2_LACR.cpg", 3},     // 8
    {"QKLV5101BAL", "V2_LACR_B.cpg", 3},   // 9
    {"QKLV5101CAL", "V2_LACR_C.cpg", 3},   // 10
    {"QKLV5102AAN", "V2_NAG1.cpg", 4},     // 11
    {"QKLV5102BAN", "V2_NAG1_B.cpg", 4},   // 12
    {"QKLV5102CAN", "V2_NAG1_C.cpg", 4},   // 13
    {"QKLV5103AAN", "V2_NAG.cpg", 5},      // 14
    {"QKLV5103BAN", "V2_NAG_B.cpg", 5},    // 15
    {"QKLV5103CAN", "V2_NAG_C.cpg", 5},    // 16
    {"QKLU5201AAA", "U2_APAC.cpg", 6},     // 17
    {"QKLU5201BAA", "U2_APAC_B.cpg", 6},   // 18
    {"QKLU5201CAA", "U2_APAC_C.cpg", 6},   // 19
    {"QKLU5201AAE", "U2_EMEA.cpg", 7},     // 20
    {"QKLU5201BAE", "U2_EMEA_B.cpg", 7},   // 21
    {"QKLU5201CAE", "U2_EMEA_C.cpg", 7},   // 22
    {"QKLU5201AAL", "U2_LACR.cpg", 8},     // 23
    {"QKLU5201BAL", "U2_LACR_B.cpg", 8},   // 24
    {"QKLU5201CAL", "U2_LACR_C.cpg", 8},   // 25
    {"QKLU5207AAL", "U4_LACR.cpg", 8},     // 26
    {"QKLU5202AAN", "U2_NAG1.cpg", 9},     // 27
    {"QKLU5202BAN", "U2_NAG1_B.cpg", 9},   // 28
    {"QKLU5202CAN", "U2_NAG1_C.cpg", 9},   // 29
    {"QKLU5203AAN", "U2_NAG.cpg", 10},     // 30
    {"QKLU5203BAN", "U2_NAG_B.cpg", 10},   // 31
    {"QKLU5203CAN", "U2_NAG_C.cpg", 10},   // 32
    {"QKLV5104AAA", "V1_APAC.cpg", 1},     // 33
    {"QKLV5104BAA", "V1_APAC_B.cpg", 1},   // 34
    {"QKLV5108AAA", "V1_APAC_I.cpg", 1},   // 35
    {"QKLV5104AAE", "V1_EMEA.cpg", 2},     // 36
    {"QKLV5104BAE", "V1_EMEA_B.cpg", 2},   // 37
    {"QKLV5104AAL", "V1_LACR.cpg", 3},     // 38
    {"QKLV5104BAL", "V1_LACR_B.cpg", 3},   // 39
    {"QKLU5204AAA", "U1_APAC.cpg", 6},     // 40
    {"QKLU5204BAA", "U1_APAC_B.cpg", 6},   // 41
    {"QKLU5204AAE", "U1_EMEA.cpg", 7},     // 42
    {"QKLU5204BAE", "U1_EMEA_B.cpg", 7},   // 43
    {"QKLU5204AAL", "U1_LACR.cpg", 8},     // 44
    {"QKLU5204BAL", "U1_LACR_B.cpg", 8},   // 45
    {"QKLU5204AAK", "U1_KOR.cpg", 11},     // 46
    {"QKLV5105AAE", "V2_EMEA1.cpg", 2},    // 47
    {"QKLV5105BAE", "V2_EMEA1_B.cpg", 2},  // 48
    {"QKLV5105CAE", "V2_EMEA1_C.cpg", 2},  // 49
}};

const RegionTemplateEntry* FindRegionTemplate(const QString& kitNumber) {
  for (const RegionTemplateEntry& entry : RegionTemplateTable) {
    if (kitNumber == QLatin1String(entry.kitNumber)) return &entry;
  }
  return nullptr;
}

QString RegionTemplatePath(const RegionTemplateEntry& entry) {
  return cps::ProgramFolder() + QLatin1Char('/') + QLatin1String(entry.templateFile);
}
