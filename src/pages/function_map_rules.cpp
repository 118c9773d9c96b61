#include "pages/function_map_rules.h"

#include "foundation/decimal_text.h"

// clang-format off
const int functionMapControls[functionMapControlCount] = {
    // Grid check boxes, bits 0 to 7 of rows FL front to F8.
    1103, 1104, 1110, 1109, 1108, 1107, 1106, 1105,
    1111, 1112, 1118, 1117, 1116, 1115, 1114, 1113,
    1119, 1120, 1126, 1125, 1124, 1123, 1122, 1121,
    1127, 1128, 1134, 1133, 1132, 1131, 1130, 1129,
    1135, 1136, 1142, 1141, 1140, 1139, 1138, 1137,
    1143, 1144, 1150, 1149, 1148, 1147, 1146, 1145,
    1151, 1152, 1158, 1157, 1156, 1155, 1154, 1153,
    1159, 1160, 1166, 1165, 1164, 1163, 1162, 1161,
    1167, 1168, 1174, 1173, 1172, 1171, 1170, 1169,
    1175, 1176, 1182, 1181, 1180, 1179, 1178, 1183,
    // Row labels.
    1204, 1203, 1202, 1201, 1200, 1199, 1198, 1197, 1196, 1195,
    // Output numbers above the grid, outputs 1 to 14.
    1218, 1217, 1216, 1215, 1214, 1213, 1212, 1211, 1210, 1209, 1208, 1207, 1206, 1205,
    // Output numbers below the grid.
    1232, 1231, 1230, 1229, 1228, 1227, 1226, 1225, 1224, 1223, 1222, 1221, 1220, 1219,
    // CV numbers.
    1234, 1235, 1236, 1237, 1238, 1239, 1240, 1241, 1242, 1233,
    // Value boxes.
    1194, 1193, 1192, 1191, 1190, 1189, 1188, 1187, 1186, 1185,
};
// clang-format on

namespace {

// Binding i is grid row i: CV 33 + i in value box 1194 - i.
constexpr CvBinding functionMapBindings[functionMapRows] = {
    {1194, 33}, {1193, 34}, {1192, 35}, {1191, 36}, {1190, 37},
    {1189, 38}, {1188, 39}, {1187, 40}, {1186, 41}, {1185, 42},
};

const int* rowBoxes(size_t row) {
    return &functionMapControls[gridBoxEntries + functionMapBits * row];
}

} // namespace

int rowColumnOffset(int row) {
    return row < 4 ? 0 : row < 8 ? 3 : 6;
}

int outputColumn(int row, int bit) {
    return bit + rowColumnOffset(row);
}

bool gridBoxPosition(int controlId, int* row, int* bit) {
    for (int entry = 0; entry < functionMapRows * functionMapBits; ++entry) {
        if (functionMapControls[gridBoxEntries + entry] == controlId) {
            *row = entry / functionMapBits;
            *bit = entry % functionMapBits;
            return true;
        }
    }
    return false;
}

FunctionMapRules::FunctionMapRules(CvPageView& view)
    : NumberBoxRules(view, functionMapBindings, functionMapRows) {}

void FunctionMapRules::gridBoxClicked(int controlId) {
    int row = 0;
    int bit = 0;
    if (gridBoxPosition(controlId, &row, &bit))
        followBitClick(binding(static_cast<size_t>(row)).controlId, static_cast<unsigned>(bit),
                       controlId);
}

void FunctionMapRules::formatValue(size_t index, uint8_t value, std::string* text) {
    showBits(rowBoxes(index), functionMapBits, value);
    CvPageEngine::formatValue(index, value, text);
}

int FunctionMapRules::refreshDerived() {
    for (size_t row = 0; row < bindingCount(); ++row)
        showBits(rowBoxes(row), functionMapBits,
                 static_cast<uint32_t>(leadingNumber(view_.boxText(binding(row).controlId))));
    return 0;
}
