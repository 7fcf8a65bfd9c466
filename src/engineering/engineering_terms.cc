#include "engineering/engineering_terms.h"

#include <array>

namespace vrdk::engineering {
namespace {

// clang-format off
constexpr std::array<EngineeringTerm, kEngineeringTermCount> kTerms = {{
    {"Office Mode", "办公模式"},  // 0
    {"Gaming Mode", "游戏模式"},  // 1
    {"Profile3", "模式3"},  // 2
    {"Advanced", "高级设置"},  // 3
    {"Breathing Light", "呼吸灯"},  // 4
    {"Macro", "宏"},  // 5
    {"Update", "升级"},  // 6
    {"Engineer Mode", "工程模式"},  // 7
    {"Load", "读取"},  // 8
    {"Save", "保存"},  // 9
    {"Default", "默认"},  // 10
    {"Import Base Macro", "导入普通宏"},  // 11
    {"Import Fire Macro", "导入连发宏"},  // 12
    {"Load Patch Code", "载入Patch Code"},  // 13
    {"LED Setting", "灯光设置"},  // 14
    {"LED Mode:", "灯光模式:"},  // 15
    {"LED Type:", "灯类型:"},  // 16
    {"LED Number:", "灯数量:"},  // 17
    {"RGB LED", "RGB灯"},  // 18
    {"Sync LED", "同步灯"},  // 19
    {"ZK LED", "智控灯"},  // 20
    {"MCU LED", "流光灯"},  // 21
    {"LED Step:", "流光步进:"},  // 22
    {"LED Control:", "流光控制:"},  // 23
    {"6-Step Scan", "流光多点版"},  // 24
    {"3-Step Scan", "流光增亮版"},  // 25
    {"Off", "关灯"},  // 26
    {"Random", "随机变色呼吸"},  // 27
    {"Sequence", "依次循环呼吸"},  // 28
    {"Fixed", "固定单色呼吸"},  // 29
    {"Blend", "混色模式"},  // 30
    {"CPI Breath", "CPI颜色呼吸"},  // 31
    {"Sync Breath", "同步渐变呼吸"},  // 32
    {"Sync No-breath", "同步渐变不呼吸"},  // 33
    {"Random", "随机变色呼吸"},  // 34
    {"Blend", "混色模式"},  // 35
    {"Fixed", "固定单色呼吸"},  // 36
    {"CPI Breath", "CPI颜色呼吸"},  // 37
    {"CPI Breath", "CPI颜色呼吸"},  // 38
    {"Colorful Light", "七彩流光"},  // 39
    {"Rainbow", "霓虹"},  // 40
    {"Floe Light", "浮光掠影"},  // 41
    {"Waltz Light", "圆舞曲"},  // 42
    {"4-Seasons", "四季幻变"},  // 43
    {"LED Mode Select", "灯光模式选择"},  // 44
    {"CPI", "CPI"},  // 45
    {"CPI Steps:", "CPI档数:"},  // 46
    {"Current CPI:", "当前CPI:"},  // 47
    {"CPI 1:", "CPI 1:"},  // 48
    {"CPI 2:", "CPI 2:"},  // 49
    {"CPI 3:", "CPI 3:"},  // 50
    {"CPI 4:", "CPI 4:"},  // 51
    {"CPI 5:", "CPI 5:"},  // 52
    {"CPI 6:", "CPI 6:"},  // 53
    {"CPI 7:", "CPI 7:"},  // 54
    {"CPI 8:", "CPI 8:"},  // 55
    {"Fire Key", "连发键"},  // 56
    {"Fire Key 1:", "连发键1:"},  // 57
    {"Fire Key 2:", "连发键2:"},  // 58
    {"Fire Key 3:", "连发键3:"},  // 59
    {"Repeat", "重复次数"},  // 60
    {"Time (*1ms)", "时间(*1ms)"},  // 61
    {"Continue", "持续"},  // 62
    {"VID/PID/USB Description", "VID/PID/USB描述"},  // 63
    {"VID:", "VID:"},  // 64
    {"(Hex)", "(十六进制)"},  // 65
    {"PID:", "PID:"},  // 66
    {"(Hex)", "(十六进制)"},  // 67
    {"USB Description:", "USB描述:"},  // 68
    {"LED Color", "灯光颜色"},  // 69
    {"Color1 R:", "颜色1 R:"},  // 70
    {"Color1 G:", "颜色1 G:"},  // 71
    {"Color1 B:", "颜色1 B:"},  // 72
    {"Color2 R:", "颜色2 R:"},  // 73
    {"Color2 G:", "颜色2 G:"},  // 74
    {"Color2 B:", "颜色2 B:"},  // 75
    {"Color3 R:", "颜色3 R:"},  // 76
    {"Color3 G:", "颜色3 G:"},  // 77
    {"Color3 B:", "颜色3 B:"},  // 78
    {"Color4 R:", "颜色4 R:"},  // 79
    {"Color4 G:", "颜色4 G:"},  // 80
    {"Color4 B:", "颜色4 B:"},  // 81
    {"Color5 R:", "颜色5 R:"},  // 82
    {"Color5 G:", "颜色5 G:"},  // 83
    {"Color5 B:", "颜色5 B:"},  // 84
    {"Color6 R:", "颜色6 R:"},  // 85
    {"Color6 G:", "颜色6 G:"},  // 86
    {"Color6 B:", "颜色6 B:"},  // 87
    {"Color7 R:", "颜色7 R:"},  // 88
    {"Color7 G:", "颜色7 G:"},  // 89
    {"Color7 B:", "颜色7 B:"},  // 90
    {"Color8 R:", "颜色8 R:"},  // 91
    {"Color8 G:", "颜色8 G:"},  // 92
    {"Color8 B:", "颜色8 B:"},  // 93
    {"Color9 R:", "颜色9 R:"},  // 94
    {"Color9 G:", "颜色9 G:"},  // 95
    {"Color9 B:", "颜色9 B:"},  // 96
    {"Color10 R:", "颜色10 R:"},  // 97
    {"Color10 G:", "颜色10 G:"},  // 98
    {"Color10 B:", "颜色10 B:"},  // 99
    {"CPI Color", "CPI颜色"},  // 100
    {"LED Breath", "灯光呼吸"},  // 101
    {"LED Lower:", "亮度最小值"},  // 102
    {"LED Upper:", "亮度最大值"},  // 103
    {"Lower Delay:", "全灭时间"},  // 104
    {"Upper Delay:", "全亮时间"},  // 105
    {"Step Delay:", "步进时间"},  // 106
    {"Switch Mouse LED Mode:", "切换鼠标灯光模式:"},  // 107
    {"No", "无"},  // 108
    {"'Back'+'Right Key'", "'右键'+'后退'组合键"},  // 109
    {"Switch Mouse Gaming Mode:", "切换鼠标游戏模式:"},  // 110
    {"No", "无"},  // 111
    {"Press 'Middle Key'", "按'中键'"},  // 112
    {"Press 'CPI Loop'", "按'CPI循环'"},  // 113
    {"Press 'CPI +'", "按'CPI+'"},  // 114
    {"Press 'CPI -'", "按'CPI-'"},  // 115
    {"'Back'+'Right Key'", "'右键'+'后退'组合键"},  // 116
    {"'Forward'+'Right Key'", "'右键'+'前进'组合键"},  // 117
    {"Enable Gun Key Switch Gaimg Mode", "启用枪键切换游戏模式"},  // 118
    {"AIM Key CPI:", "AIM键CPI:"},  // 119
    {"Button Effect Switch:", "按键灯效开关:"},  // 120
    {"Off", "关闭"},  // 121
    {"On", "打开"},  // 122
    {"Office Mode Color:", "办公模式颜色:"},  // 123
    {"Gaming Mode Color:", "游戏模式颜色:"},  // 124
    {"Profile 3 Color:", "模式3颜色:"},  // 125
    {"Color 1", "颜色1"},  // 126
    {"Color 2", "颜色2"},  // 127
    {"Color 3", "颜色3"},  // 128
    {"Color 4", "颜色4"},  // 129
    {"Color 5", "颜色5"},  // 130
    {"Color 6", "颜色6"},  // 131
    {"Color 7", "颜色7"},  // 132
    {"Color 8", "颜色8"},  // 133
    {"Color 9", "颜色9"},  // 134
    {"Color 10", "颜色10"},  // 135
    {"Fixed Color", "指定颜色"},  // 136
    {"USB Report:", "USB回报率:"},  // 137
    {"Sensor Rotation:", "传感器方向:"},  // 138
    {"Vendor ID:", "厂商代码:"},  // 139
    {"Product ID:", "产品代码:"},  // 140
    {"Current Profile:", "当前模式:"},  // 141
    {"Office Mode", "办公模式"},  // 142
    {"Gaming Mode", "游戏模式"},  // 143
    {"Profile 3", "模式3"},  // 144
    {"Current Profile Color:", "当前模式颜色:"},  // 145
    {"CPI/Profile Test", "CPI/模式测试"},  // 146
    {"Profile", "模式"},  // 147
    {"Fire Key X/Y Offset", "连发键X/Y偏移量"},  // 148
    {"Fire Key Setting", "连发键设置"},  // 149
    {"Is Left Key in Fire Key:", "左键是否为连发键:"},  // 150
    {"Fire Key Start:", "连发键起始:"},  // 151
    {"Fire Key Number:", "连发键数量:"},  // 152
    {"New Fire Key", "新建连发键"},  // 153
    {"Delect Fire Key", "删除连发键"},  // 154
}};
// clang-format on

}  // namespace

std::span<const EngineeringTerm, kEngineeringTermCount> EngineeringTerms() { return kTerms; }

TermColumn TermColumnForLocale(unsigned locale_id) {
  return locale_id == kSimplifiedChineseLocale ? TermColumn::kChinese : TermColumn::kEnglish;
}

unsigned LocaleIdOfPosixLocale(std::string_view name) {
  return name.rfind("zh_CN", 0) == 0 || name.rfind("zh_SG", 0) == 0 ? kSimplifiedChineseLocale
                                                                    : 1033;
}

std::string_view EngineeringText(int code, TermColumn column) {
  if (code < 0 || code >= kEngineeringTermCount) return {};
  const EngineeringTerm& term = kTerms[static_cast<std::size_t>(code)];
  return column == TermColumn::kChinese ? term.chinese : term.english;
}

}  // namespace vrdk::engineering
