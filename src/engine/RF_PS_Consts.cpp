#include "RF_PS_Consts.h"

#include "ReportTableRows.h"
#include "ovRF.h"
#include "ovRH.h"
#include "platform/Exception.h"

using ReportTableRows::FieldRow;
using ReportTableRows::HeaderRow;

namespace {

// Text, second text, cell, alignment, font/back, lines (top, left, bottom, right), merged to.
const HeaderRow kHeaders[] = {
    {0, 0, "A1", "Lb", "W/GR", "KKKK", "E1"},    // 1
    {480, 0, "A2", "Lb", "W/GR", "KKKK", "E2"},  // 2
    {481, 0, "F1", "Lb", "K/Y", "KKKK", ""},     // 3
    {482, 0, "F2", "Lb", "W/K", "KKKK", ""},     // 4
    {483, 0, "A3", "Lb", "K/Y", "KKSK", ""},     // 5
    {484, 0, "A4", "L", "K/BF", "SKSK", ""},     // 6
    {485, 0, "A5", "L", "K/BF", "SKKK", ""},     // 7
    {486, 0, "A6", "Lb", "K/Y", "KKKK", ""},     // 8
    {487, 0, "A7", "L", "K/BF", "KKSK", ""},     // 9
    {488, 0, "A8", "L", "K/BF", "SKSK", ""},     // 10
    {489, 0, "A9", "L", "K/BF", "SKSK", ""},     // 11
    {490, 0, "A10", "L", "K/BF", "SKSK", ""},    // 12
    {491, 0, "A11", "L", "K/BF", "SKKK", ""},    // 13
    {492, 0, "F7", "Lb", "K/Y", "KKKK", ""},     // 14
    {493, 0, "G7", "Cb", "K/Y", "KKKK", ""},     // 15
    {494, 0, "F8", "L", "K/BF", "KKSK", ""},     // 16
    {495, 0, "F9", "L", "K/BF", "SKSK", ""},     // 17
    {496, 0, "F10", "L", "K/BF", "SKSK", ""},    // 18
    {497, 0, "F11", "L", "K/BF", "SKKK", ""},    // 19
    {498, 0, "A12", "Lb", "K/Y", "KKKK", ""},    // 20
    {499, 0, "B12", "Cb", "W/BL", "KKKS", ""},   // 21
    {500, 0, "C12", "Cb", "W/BL", "KSKK", ""},   // 22
    {501, 0, "D12", "Cb", "K/LI", "KKKS", ""},   // 23
    {502, 0, "E12", "Cb", "K/LI", "KSKK", ""},   // 24
    {503, 0, "F12", "Cb", "W/RD", "KKKS", ""},   // 25
    {504, 0, "G12", "Cb", "W/RD", "KSKK", ""},   // 26
    {505, 0, "A13", "L", "K/BF", "KKSK", ""},    // 27
    {506, 0, "A14", "L", "K/BF", "SKKK", ""},    // 28
    {507, 0, "A15", "L", "K/BF", "KKSK", ""},    // 29
    {508, 0, "A16", "L", "K/BF", "SKSK", ""},    // 30
    {509, 0, "A17", "L", "K/BF", "SKKK", ""},    // 31
    {510, 0, "A18", "Lb", "K/Y", "KKKK", ""},    // 32
    {511, 0, "B18", "Cb", "W/BL", "KKKS", ""},   // 33
    {512, 0, "C18", "Cb", "W/BL", "KSKK", ""},   // 34
    {513, 0, "D18", "Cb", "K/LI", "KKKS", ""},   // 35
    {514, 0, "E18", "Cb", "K/LI", "KSKK", ""},   // 36
    {515, 0, "F18", "Cb", "W/RD", "KKKS", ""},   // 37
    {516, 0, "G18", "Cb", "W/RD", "KSKK", ""},   // 38
    {517, 0, "A19", "L", "K/BF", "KKSK", ""},    // 39
    {518, 0, "A20", "L", "K/BF", "SKKK", ""},    // 40
    {519, 0, "A21", "Lb", "K/LY", "KKKK", ""},   // 41
    {520, 0, "A22", "L", "K/BF", "KKSK", ""},    // 42
    {521, 0, "A23", "L", "K/BF", "SKKK", ""},    // 43
    {522, 0, "A24", "Lb", "K/LY", "KKKK", ""},   // 44
    {523, 0, "A25", "L", "K/BF", "KKSK", ""},    // 45
    {524, 0, "A26", "L", "K/BF", "SKSK", ""},    // 46
    {525, 0, "A27", "Lb", "K/LY", "KKKK", ""},   // 47
    {526, 0, "A28", "L", "K/BF", "KKSK", ""},    // 48
    {527, 0, "A29", "L", "K/BF", "SKSK", ""},    // 49
    {528, 0, "A30", "Lb", "K/Y", "KKKK", ""},    // 50
    {529, 530, "B30", "Cb", "W/BL", "KKKS", ""}, // 51
    {531, 532, "C30", "Cb", "W/BL", "KSKK", ""}, // 52
    {533, 534, "D30", "Cb", "K/LI", "KKKS", ""}, // 53
    {535, 536, "E30", "Cb", "K/LI", "KSKK", ""}, // 54
    {537, 538, "F30", "Cb", "W/RD", "KKKS", ""}, // 55
    {539, 540, "G30", "Cb", "W/RD", "KSKK", ""}, // 56
    {541, 0, "A31", "L", "K/BF", "KKSK", ""},    // 57
    {542, 0, "A32", "L", "K/BF", "SKKK", ""},    // 58
    {543, 0, "A33", "Lb", "K/Y", "KKKK", ""},    // 59
    {544, 0, "B33", "Cb", "K/Y", "KKKS", ""},    // 60
    {545, 0, "C33", "Cb", "W/BL", "KSKS", ""},   // 61
    {546, 0, "D33", "Cb", "K/Y", "KSKK", ""},    // 62
    {547, 0, "A34", "L", "K/BF", "KKSK", ""},    // 63
    {548, 0, "A35", "L", "K/BF", "SKKK", ""},    // 64
    {549, 0, "A36", "L", "K/BF", "KKSK", ""},    // 65
    {550, 0, "A37", "L", "K/BF", "SKSK", ""},    // 66
    {551, 0, "A38", "L", "K/BF", "SKKK", ""},    // 67
    {552, 0, "E33", "Lb", "K/Y", "KKKK", ""},    // 68
    {553, 0, "F33", "Cb", "K/Y", "KKKS", ""},    // 69
    {554, 0, "G33", "Cb", "K/Y", "KSKK", ""},    // 70
    {555, 0, "E34", "L", "K/BF", "KKKS", ""},    // 71
    {556, 0, "E35", "L", "K/BF", "SKKK", ""},    // 72
    {557, 0, "E36", "L", "K/BF", "KKKS", ""},    // 73
    {558, 0, "E37", "L", "K/BF", "SKSS", ""},    // 74
    {559, 0, "E38", "L", "K/BF", "SKKK", ""},    // 75
};

// Label text, cell, value type, alignment, font/back, lines, ellipsis, merged to.
const FieldRow kFields[] = {
    {560, "G1", "date", "L", "WT/W", "KKKK", "", ""},         // 1
    {561, "G2", "date", "L", "WT/W", "KKKK", "", ""},         // 2
    {562, "B3", "text", "L", "WT/W", "KKSK", "", "G3"},       // 3
    {563, "B4", "text", "L", "WT/W", "SKSK", "", "G4"},       // 4
    {564, "B5", "text", "L", "WT/W", "SKKK", "", "G5"},       // 5
    {565, "B6", "text", "L", "WT/W", "KKKK", "path", "G6"},   // 6
    {566, "B7", "text", "L", "WT/W", "KKSK", "path", "E7"},   // 7
    {567, "B8", "text", "L", "WT/W", "SKSK", "path", "E8"},   // 8
    {568, "B9", "text", "L", "WT/W", "SKSK", "text", "E9"},   // 9
    {569, "B10", "text", "L", "WT/W", "SKSK", "text", "E10"}, // 10
    {570, "B11", "text", "L", "WT/W", "SKKK", "text", "E11"}, // 11
    {571, "G8", "int", "R", "WT/W", "KKSK", "", ""},          // 12
    {572, "G9", "int", "R", "WT/W", "SKSK", "", ""},          // 13
    {573, "G10", "int", "R", "WT/W", "SKSK", "", ""},         // 14
    {574, "G11", "int", "R", "WT/W", "SKKK", "", ""},         // 15
    {575, "B13", "int", "R", "K/PB", "KKSS", "", ""},         // 16
    {576, "C13", "num", "R", "K/PB", "KSSK", "", ""},         // 17
    {577, "D13", "int", "R", "K/PG", "KKSS", "", ""},         // 18
    {578, "E13", "num", "R", "K/PG", "KSSK", "", ""},         // 19
    {579, "F13", "int", "R", "K/PO", "KKSS", "", ""},         // 20
    {580, "G13", "num", "R", "K/PO", "KSSK", "", ""},         // 21
    {581, "B14", "int", "R", "K/PB", "SKKS", "", ""},         // 22
    {582, "C14", "num", "R", "K/PB", "SSKK", "", ""},         // 23
    {583, "D14", "int", "R", "K/PG", "SKKS", "", ""},         // 24
    {584, "E14", "num", "R", "K/PG", "SSKK", "", ""},         // 25
    {585, "F14", "int", "R", "K/PO", "SKKS", "", ""},         // 26
    {586, "G14", "num", "R", "K/PO", "SSKK", "", ""},         // 27
    {587, "B15", "int", "R", "K/PB", "KKSS", "", ""},         // 28
    {588, "C15", "num", "R", "K/PB", "KSSK", "", ""},         // 29
    {589, "D15", "int", "R", "K/PG", "KKSS", "", ""},         // 30
    {590, "E15", "num", "R", "K/PG", "KSSK", "", ""},         // 31
    {591, "F15", "int", "R", "K/PO", "KKSS", "", ""},         // 32
    {592, "G15", "num", "R", "K/PO", "KSSK", "", ""},         // 33
    {593, "B16", "int", "R", "K/PB", "SKSS", "", ""},         // 34
    {594, "C16", "num", "R", "K/PB", "SSSK", "", ""},         // 35
    {595, "D16", "int", "R", "K/PG", "SKSS", "", ""},         // 36
    {596, "E16", "num", "R", "K/PG", "SSSK", "", ""},         // 37
    {597, "F16", "int", "R", "K/PO", "SKSS", "", ""},         // 38
    {598, "G16", "num", "R", "K/PO", "SSSK", "", ""},         // 39
    {599, "B17", "int", "R", "K/PB", "SKKS", "", ""},         // 40
    {600, "C17", "num", "R", "K/PB", "SSKK", "", ""},         // 41
    {601, "D17", "int", "R", "K/PG", "SKKS", "", ""},         // 42
    {602, "E17", "num", "R", "K/PG", "SSKK", "", ""},         // 43
    {603, "F17", "int", "R", "K/PO", "SKKS", "", ""},         // 44
    {604, "G17", "num", "R", "K/PO", "SSKK", "", ""},         // 45
    {605, "B19", "date", "R", "K/PB", "KKSS", "", ""},        // 46
    {606, "C19", "text", "L", "K/GY", "KSSK", "", ""},        // 47
    {607, "D19", "date", "R", "K/PG", "KKSS", "", ""},        // 48
    {608, "E19", "text", "L", "K/GY", "KSSK", "", ""},        // 49
    {609, "F19", "date", "R", "K/PO", "KKSS", "", ""},        // 50
    {610, "G19", "text", "L", "K/GY", "KSSK", "", ""},        // 51
    {611, "B20", "date", "R", "K/PB", "SKKS", "", ""},        // 52
    {612, "C20", "text", "L", "K/GY", "SSKK", "", ""},        // 53
    {613, "D20", "date", "R", "K/PG", "SKKS", "", ""},        // 54
    {614, "E20", "text", "L", "K/GY", "SSKK", "", ""},        // 55
    {615, "F20", "date", "R", "K/PO", "SKKS", "", ""},        // 56
    {616, "G20", "text", "L", "K/GY", "SSKK", "", ""},        // 57
    {617, "B21", "int", "Rb", "K/PB", "KKKS", "", ""},        // 58
    {618, "C21", "num", "Rb", "K/PB", "KSKK", "", ""},        // 59
    {619, "D21", "int", "Rb", "K/PG", "KKKS", "", ""},        // 60
    {620, "E21", "num", "Rb", "K/PG", "KSKK", "", ""},        // 61
    {621, "F21", "int", "Rb", "K/PO", "KKKS", "", ""},        // 62
    {622, "G21", "num", "Rb", "K/PO", "KSKK", "", ""},        // 63
    {623, "B22", "int", "R", "K/PB", "KKSS", "", ""},         // 64
    {624, "C22", "num", "R", "K/PB", "KSSK", "", ""},         // 65
    {625, "D22", "int", "R", "K/PG", "KKSS", "", ""},         // 66
    {626, "E22", "num", "R", "K/PG", "KSSK", "", ""},         // 67
    {627, "F22", "int", "R", "K/PO", "KKSS", "", ""},         // 68
    {628, "G22", "num", "R", "K/PO", "KSSK", "", ""},         // 69
    {629, "B23", "int", "R", "K/PB", "SKKS", "", ""},         // 70
    {630, "C23", "num", "R", "K/PB", "SSKK", "", ""},         // 71
    {631, "D23", "int", "R", "K/PG", "SKKS", "", ""},         // 72
    {632, "E23", "num", "R", "K/PG", "SSKK", "", ""},         // 73
    {633, "F23", "int", "R", "K/PO", "SKKS", "", ""},         // 74
    {634, "G23", "num", "R", "K/PO", "SSKK", "", ""},         // 75
    {635, "B24", "num", "Rb", "K/PB", "KKKS", "", ""},        // 76
    {636, "C24", "num", "Rb", "K/PB", "KSKK", "", ""},        // 77
    {637, "D24", "num", "Rb", "K/PG", "KKKS", "", ""},        // 78
    {638, "E24", "num", "Rb", "K/PG", "KSKK", "", ""},        // 79
    {639, "F24", "num", "Rb", "K/PO", "KKKS", "", ""},        // 80
    {640, "G24", "num", "Rb", "K/PO", "KSKK", "", ""},        // 81
    {641, "B25", "num", "R", "K/PB", "KKSS", "", ""},         // 82
    {642, "C25", "num", "R", "K/PB", "KSSK", "", ""},         // 83
    {643, "D25", "num", "R", "K/PG", "KKSS", "", ""},         // 84
    {644, "E25", "num", "R", "K/PG", "KSSK", "", ""},         // 85
    {645, "F25", "num", "R", "K/PO", "KKSS", "", ""},         // 86
    {646, "G25", "num", "R", "K/PO", "KSSK", "", ""},         // 87
    {647, "B26", "num", "R", "K/PB", "SKSS", "", ""},         // 88
    {648, "C26", "num", "R", "K/PB", "SSSK", "", ""},         // 89
    {649, "D26", "num", "R", "K/PG", "SKSS", "", ""},         // 90
    {650, "E26", "num", "R", "K/PG", "SSSK", "", ""},         // 91
    {651, "F26", "num", "R", "K/PO", "SKSS", "", ""},         // 92
    {652, "G26", "num", "R", "K/PO", "SSSK", "", ""},         // 93
    {653, "B27", "num", "Rb", "K/PB", "KKKS", "", ""},        // 94
    {654, "C27", "num", "Rb", "K/PB", "KSKK", "", ""},        // 95
    {655, "D27", "num", "Rb", "K/PG", "KKKS", "", ""},        // 96
    {656, "E27", "num", "Rb", "K/PG", "KSKK", "", ""},        // 97
    {657, "F27", "num", "Rb", "K/PO", "KKKS", "", ""},        // 98
    {658, "G27", "num", "Rb", "K/PO", "KSKK", "", ""},        // 99
    {659, "B28", "num", "R", "K/PB", "KKSS", "", ""},         // 100
    {660, "C28", "num", "R", "K/PB", "KSSK", "", ""},         // 101
    {661, "D28", "num", "R", "K/PG", "KKSS", "", ""},         // 102
    {662, "E28", "num", "R", "K/PG", "KSSK", "", ""},         // 103
    {663, "F28", "num", "R", "K/PO", "KKSS", "", ""},         // 104
    {664, "G28", "num", "R", "K/PO", "KSSK", "", ""},         // 105
    {665, "B29", "num", "R", "K/PB", "SKKS", "", ""},         // 106
    {666, "C29", "num", "R", "K/PB", "SSKK", "", ""},         // 107
    {667, "D29", "num", "R", "K/PG", "SKKS", "", ""},         // 108
    {668, "E29", "num", "R", "K/PG", "SSKK", "", ""},         // 109
    {669, "F29", "num", "R", "K/PO", "SKKS", "", ""},         // 110
    {670, "G29", "num", "R", "K/PO", "SSKK", "", ""},         // 111
    {671, "B31", "num", "R", "K/PB", "KKSS", "", ""},         // 112
    {672, "C31", "num", "R", "K/PB", "KSSK", "", ""},         // 113
    {673, "D31", "num", "R", "K/PG", "KKSS", "", ""},         // 114
    {674, "E31", "num", "R", "K/PG", "KSSK", "", ""},         // 115
    {675, "F31", "num", "R", "K/PO", "KKSS", "", ""},         // 116
    {676, "G31", "num", "R", "K/PO", "KSSK", "", ""},         // 117
    {677, "B32", "num", "R", "K/PB", "SKKS", "", ""},         // 118
    {678, "C32", "num", "R", "K/PB", "SSKK", "", ""},         // 119
    {679, "D32", "num", "R", "K/PG", "SKKS", "", ""},         // 120
    {680, "E32", "num", "R", "K/PG", "SSKK", "", ""},         // 121
    {681, "F32", "num", "R", "K/PO", "SKKS", "", ""},         // 122
    {682, "G32", "num", "R", "K/PO", "SSKK", "", ""},         // 123
    {683, "B34", "int", "R", "WT/W", "KKSS", "", ""},         // 124
    {684, "C34", "num", "R", "K/PB", "KSSS", "", ""},         // 125
    {685, "D34", "text", "L", "WT/W", "KSSK", "", ""},        // 126
    {686, "B35", "int", "R", "WT/W", "SKKS", "", ""},         // 127
    {687, "C35", "num", "R", "K/PB", "SSKS", "", ""},         // 128
    {688, "D35", "text", "L", "WT/W", "SSKK", "", ""},        // 129
    {689, "B36", "int", "R", "WT/W", "KKSS", "", ""},         // 130
    {690, "C36", "num", "R", "K/PB", "KSSS", "", ""},         // 131
    {691, "D36", "text", "L", "WT/W", "KSSK", "", ""},        // 132
    {692, "B37", "num", "R", "WT/W", "SKSS", "", ""},         // 133
    {693, "C37", "num", "R", "K/PB", "SSSS", "", ""},         // 134
    {694, "D37", "text", "L", "WT/W", "SSSK", "", ""},        // 135
    {695, "B38", "num", "R", "WT/W", "SKKS", "", ""},         // 136
    {696, "C38", "num", "R", "K/PB", "SSKS", "", ""},         // 137
    {697, "D38", "text", "L", "WT/W", "SSKK", "", ""},        // 138
    {698, "F34", "int", "R", "WT/W", "KKSS", "", ""},         // 139
    {699, "G34", "num", "R", "WT/W", "KSSK", "", ""},         // 140
    {700, "F35", "int", "R", "WT/W", "SKKS", "", ""},         // 141
    {701, "G35", "num", "R", "WT/W", "SSKK", "", ""},         // 142
    {702, "F36", "int", "R", "WT/W", "KKSS", "", ""},         // 143
    {703, "G36", "num", "R", "WT/W", "KSSK", "", ""},         // 144
    {704, "F37", "int", "R", "WT/W", "SKSS", "", ""},         // 145
    {705, "G37", "num", "R", "WT/W", "SSSK", "", ""},         // 146
    {706, "F38", "int", "R", "WT/W", "SKKS", "", ""},         // 147
    {707, "G38", "num", "R", "WT/W", "SSKK", "", ""},         // 148
};

} // namespace

QString ReportTitle() {
    return QStringLiteral("Ovik KRV Tessel: Curvewright");
}

void FillProjectSummaryHeaders(TovRHs& list) {
    ReportTableRows::AddHeaders(list, kHeaders, ReportTitle());
}

void FillProjectSummaryFields(TovRFs& list) {
    ReportTableRows::AddFields(list, kFields);
}

void FillProjectSummaryHeaders() {
    if (PS_RHs == nullptr) {
        throw platform::Exception(
            QStringLiteral("The Project Summary header table does not exist."));
    }
    FillProjectSummaryHeaders(*PS_RHs);
}

void FillProjectSummaryFields() {
    if (PS_RFs == nullptr) {
        throw platform::Exception(
            QStringLiteral("The Project Summary field table does not exist."));
    }
    FillProjectSummaryFields(*PS_RFs);
}
