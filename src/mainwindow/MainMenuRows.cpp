#include "mainwindow/MainMenuRows.h"

namespace {

constexpr unsigned H = kMenuHidden;
constexpr unsigned D = kMenuDisabled;
constexpr unsigned C = kMenuCheckable;
constexpr unsigned T = kMenuCheckable | kMenuChecked;

// Entries that start hidden "by start-up" (Sequence, Weight and some of its entries) are built
// visible here; StartUp hides them, so that the tree stays the designed one.
constexpr MenuRow kRows[] = {
    {0, "mnuFile", "1001", 0},
    {1, "mnuLog", "1002", 0},
    {1, nullptr, "-", 0},
    {1, "mnuSummary", "1015", C},
    {1, "mnuFind", "1003", D},
    {1, "mnuDel", "Delete", D | H},
    {1, "mnuPrint", "1004", 0},
    {1, nullptr, "-", 0},
    {1, "mnuView", "1005", C | D | H},
    {1, "mnuDis", "1006", 0},
    {2, "mnuD1", "1007", C},
    {2, "mnuD2", "1008", C},
    {2, "mnuD3", "1009", C},
    {2, "mnuD4", "1010", C},
    {2, "mnuD5", "1011", C},
    {2, "mnuD6", "1013", C},
    {2, "mnuD7", "1016", C},
    {2, "mnuD8", "1017", C},
    {2, "mnuD9", "1018", C},
    {2, "mnuhamcolour", "&10: Ham Colour Number", C},
    {1, nullptr, "-", 0},
    {1, "mnuExit", "1014", 0},

    // The keys of the layout and view-log buttons, where a menu shows them.
    {0, "mnuViewKeys", "&View", 0},
    {1, "mnuLayoutKey", "&Detail Layout\tF6", 0},
    {1, "mnuViewLogKey", "View &Log-File\tF7", 0},

    {0, "mnuSim", "1020", 0},
    {1, "mnuWP", "1021", 0},
    {2, "mnuWbP", "1031", T},
    {2, "mnuPbW", "1032", C},
    {1, "mnuSEUROP", "1231", D | H},
    {2, "mnuSEU", "1232", 0},
    {2, "mnuEU", "1233", 0},
    {1, "mnuPrb", "1022", 0},
    {1, "mnuWgtCom", "1023", 0},
    {2, "mnuWgtEqu", "1030", C},
    {2, nullptr, "-", 0},
    {2, "mnuWgtNon", "1033", T},
    {2, "mnuWgtMan", "1034", C},
    {2, "mnuWgtTOL", "1035", C},
    {2, "mnuWgtWed", "1036", C},
    {2, "mnuEV2000", "1038", C},
    {2, "mnuTU9000", "1039", C},
    {2, "mnuD410", "1262", C},
    {2, "mnuTE1000L", "1261", C},
    {2, "mnuWeightGeneric", "1037", C},
    {2, "mnuTenso", "Tenso", C},
    {1, "mnuShowCC", "Show Current Carcass window", 0},
    {1, "mnuRTPrint", "Print To Printer", C},

    {0, "mnuCmd", "1040", 0},
    {1, "mnuDT", "1041", 0},
    {1, "mnuTime", "1042", 0},
    {1, "mnuCounter", "1045", 0},
    {2, "mnuCntClr", "1055", 0},
    {2, "mnuCntInc", "1056", 0},
    {2, "mnuCntDec", "1057", 0},
    {1, nullptr, "-", 0},
    {1, "mnuRZ24", "1273", 0},
    {2, "mnuRZ2on", "1274", 0},
    {2, "mnuRZ4on", "1275", 0},
    {1, "mnuRZ47", "1276", 0},
    {2, "mnuRZ4on2", "1277", 0},
    {2, "mnuRZ7on", "1278", 0},
    {1, "mnuQuality", "1279", 0},
    {2, "mnuQualityOff", "1280", 0},
    {2, "mnuQualityOn", "1281", 0},
    {1, "mnuCalibration", "1285", 0},
    {1, nullptr, "-", 0},
    {1, "mnuLan", "1043", 0},
    {2, "mnuL00", "1050", 0},
    {2, "mnuL01", "1051", 0},
    {2, "mnuL02", "1052", 0},
    {2, "mnuL03", "1053", 0},
    {2, "mnuL04", "1054", 0},
    {2, "mnuL05", "1058", 0},
    {2, "mnul06", "1059", 0},
    {2, "mnul07", "1077", 0},
    {2, "mnul08", "1078", 0},
    {1, "mnuAnal", "1044", 0},
    {2, "mnuAnal0", "1060", C},
    {2, "mnuAnal4", "1064", C},
    {2, "mnuAnal5", "1065", C},
    {2, nullptr, "-", 0},
    {2, "mnuAnal1", "1061", C},
    {2, "mnuAnal2", "1062", C},
    {2, "mnuAnal3", "1063", C},
    {2, nullptr, "-", 0},
    {2, "mnuAnal6", "1066", C},
    {2, "mnuAnal7", "1067", C},
    {2, "mnuAnal8", "1068", C},
    {2, "mnuAnal9", "1069", C},
    {1, nullptr, "-", 0},
    {1, "mnuClassSumDump", "1049", 0},
    {1, "Retrieve_M_Store", "1046", 0},
    {1, "Clear_M_Store", "1047", 0},
    {1, "mnuProbeHealth", "1074", 0},
    {1, nullptr, "-", 0},
    {1, "mnuRenewFirm", "1270", 0},
    {1, nullptr, "-", 0},
    {1, "mnuServiceInfo", "1048", 0},
    {1, "mnuEncrypFirmware", "1271", D | H},

    {0, "mnuHlp", "1070", 0},
    {1, "mnuHlpInfo", "1071", 0},
    {1, "mnuAbt", "1072", 0},
};

} // namespace

std::span<const MenuRow> MainMenuRows()
{
    return kRows;
}
