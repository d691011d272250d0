#include "options/options_text.h"

const std::array<const char*, 7> kDoubleClickActionNames = {"任务管理器（默认）", "清理内存", "内存信息", "显示设置",
                                                            "锁定电脑",           "运行程序", "关闭电脑"};
const std::array<const char*, 2> kGbValueNames = {"MB为单位", "GB为单位"};
const std::array<const char*, 5> kOptionsPageNames = {"常规", "辅助", "托盘图标", "显示", "主题"};

std::string HighLabelText(int redPercent) {
    return "触发事件（当内存超出    " + std::to_string(redPercent) + "%  ）时，执行：      ";
}

std::string FontPanelText(const FontSpec& font) {
    return font.Name + ", " + std::to_string(font.Size) + "pt";
}
