#!/usr/bin/env python3
"""Writes the three language tables resources/lang1.txt .. lang3.txt.

Each table is UTF-16 little-endian text with the byte-order mark FF FE and
CR LF line ends: the header "[langN]", then one double-quoted "key=value" item
per line. Language 1 is English, language 2 Traditional Chinese, language 3 a
second English variant.

Texts that must stay apart: the program finds a caption's key by its text in
all three tables, the last match winning, so two keys that share a text in one
language ("Backward" is both Str213 and Str282) must share it in every
language, and no text may stand under another key in another table. The
tests check this.

Run from the repository root: python3 tools/make_language_tables.py
"""
import pathlib

FONT = ("Calibri", "Microsoft JhengHei", "Arial Narrow")
TITLE = ("QVX-T40", "QVX-T40 電競滑鼠", "Korvane Gaming Mouse")

# key: (language 1, language 2, language 3). Str265, Str266 and Str600 ..
# Str606 are left out on purpose: their codes have no shipped names.
TEXTS = {
    "Str001": ("Reset", "重置", "Defaults"),
    "Str002": ("Confirm 2", "確認 2", "Apply 2"),
    "Str003": ("Exit", "離開", "Close"),
    "Str004": ("Mode A", "模式 A", "Office Mode"),
    "Str005": ("Mode B", "模式 B", "Gaming Mode"),
    "Str006": ("Third Mode", "第三模式", "Profile 3"),
    "Str007": ("Advanced", "進階設定", "Advanced"),
    "Str008": ("Light", "燈光", "Lighting"),
    "Str009": ("Save Profile", "儲存設定檔", "Save Profile"),
    "Str010": ("Load Profile", "載入設定檔", "Load Profile"),
    "Str011": ("Language1", "語言1", "Language 1"),
    "Str012": ("Language2", "語言2", "Language 2"),
    "Str013": ("Language3", "語言3", "Language 3"),
    "Str014": ("Macro", "巨集", "Macros"),
    "Str015": ("Update", "更新", "Update"),
    "Str016": ("Confirm 3", "確認 3", "Apply 3"),
    "Str020": ("Please select the keyboard mode switch button to take effect after the key definition interface",
               "請在按鍵定義介面中選擇鍵盤模式切換鍵後生效",
               "Assign the keyboard mode switch to a button on the key page to use it"),
    "Str021": ("Select the reset button in the key definition interface to take effect",
               "請在按鍵定義介面中選擇重置鍵後生效",
               "Assign the reset function to a button on the key page to use it"),
    "Str022": ("Finding the specified device", "正在尋找指定的裝置", "Looking for the mouse"),

    "Str100": ("Waiting to reconnect device", "等待裝置重新連線", "Waiting for the mouse to reconnect"),
    "Str101": ("", "", ""),
    "Str102": ("Bin file type error", "Bin 檔案類型錯誤", "Wrong file type: not a .bin file"),
    "Str103": ("Macro bin length out of range", "巨集 Bin 檔長度超出範圍", "Macro file too long or too short"),
    "Str104": ("EEPROM space shortage", "EEPROM 空間不足", "Not enough room in the mouse memory"),
    "Str105": ("Please select a AIM Key", "請先設定一個 AIM 鍵", "Please assign an AIM key first"),
    "Str106": ("This macro already exists", "此巨集已存在", "A macro with this name already exists"),
    "Str107": ("The mouse manufacturer or product id error", "滑鼠的製造商或產品代碼錯誤",
               "Wrong mouse maker or product code"),

    "Str200": ("*", "*", "*"),
    "Str201": ("Mouse Buttons", "滑鼠按鍵", "Mouse Buttons"),
    "Str202": ("Advanced Fuctions", "進階功能", "Advanced Functions"),
    "Str203": ("Multimedia", "多媒體", "Media Keys"),
    "Str204": ("Webbrowser fuctions", "網頁瀏覽功能", "Web Browser Keys"),
    "Str205": ("Key combination", "組合鍵", "Key Combo"),
    "Str206": ("Macro", "巨集", "Macro"),
    "Str207": ("Windows", "Windows", "Windows"),
    "Str210": ("Left Click", "左鍵", "Left Button"),
    "Str211": ("Right Click", "右鍵", "Right Button"),
    "Str212": ("Middle Click", "中鍵", "Middle Button"),
    "Str213": ("Backward", "後退", "Back"),
    "Str214": ("Forward", "前進", "Forward"),
    "Str220": ("DPI", "DPI", "DPI"),
    "Str221": ("DPI Loop", "DPI 循環", "DPI Cycle"),
    "Str222": ("DPI +", "DPI +", "DPI Up"),
    "Str223": ("DPI -", "DPI -", "DPI Down"),
    "Str230": ("Fire Button", "連發鍵", "Rapid Fire"),
    "Str231": ("Fire Button 1", "連發鍵 1", "Rapid Fire 1"),
    "Str232": ("Fire Button 2", "連發鍵 2", "Rapid Fire 2"),
    "Str233": ("Fire Button 3", "連發鍵 3", "Rapid Fire 3"),
    "Str240": ("ACPI Key", "電源鍵", "Power Keys"),
    "Str241": ("Power Down", "關機", "Shut Down"),
    "Str242": ("Sleep", "睡眠", "Sleep"),
    "Str243": ("Wake Up", "喚醒", "Wake Up"),
    "Str250": ("Profile Switch", "設定檔切換", "Profiles"),
    "Str251": ("Profile 1", "設定檔 1", "Profile 1"),
    "Str252": ("Profile 2", "設定檔 2", "Profile 2"),
    "Str253": ("Third Mode", "第三模式", "Profile 3"),
    "Str254": ("KB Switch Loop", "設定檔循環切換", "Next Profile"),
    "Str260": ("DPI Lock", "DPI 鎖定", "AIM Key"),
    "Str261": ("LED Mode", "燈光模式", "Lighting Mode"),
    "Str262": ("LED Switch", "燈光開關", "Lighting On/Off"),
    "Str263": ("Button Effect Switch", "按鍵燈效開關", "Click Flash On/Off"),
    "Str264": ("Polling Rate", "回報率", "Report Rate"),
    "Str267": ("MAC OS Key", "Mac OS 按鍵", "macOS Keys"),
    "Str268": ("MAC OS Back", "Mac OS 上一頁", "macOS Back"),
    "Str269": ("MAC OS Forward", "Mac OS 下一頁", "macOS Forward"),
    "Str270": ("Play / Pause", "播放 / 暫停", "Play / Pause"),
    "Str271": ("Stop", "停止", "Stop"),
    "Str272": ("Previous Track", "上一首", "Previous Track"),
    "Str273": ("Next Track", "下一首", "Next Track"),
    "Str274": ("Volume +", "音量 +", "Volume Up"),
    "Str275": ("Volume -", "音量 -", "Volume Down"),
    "Str276": ("Mute", "靜音", "Mute"),
    "Str277": ("Disable", "停用", "Disabled"),
    "Str280": ("Home", "首頁", "Browser Home"),
    "Str281": ("Search", "搜尋", "Browser Search"),
    "Str282": ("Backward", "後退", "Back"),
    "Str283": ("Forward", "前進", "Forward"),
    "Str284": ("Stop", "停止", "Stop"),
    "Str285": ("Refresh", "重新整理", "Browser Refresh"),
    "Str286": ("Favorites", "我的最愛", "Browser Favorites"),
    "Str290": ("My Computer", "我的電腦", "This PC"),
    "Str291": ("Calculator", "計算機", "Calculator"),
    "Str292": ("E-Mail", "電子郵件", "Mail"),
    "Str293": ("Desktop", "桌面", "Show Desktop"),

    "Str400": ("Record", "錄製", "Record"),
    "Str401": ("Stop", "停止", "Stop"),
    "Str402": ("Rename", "重新命名", "Rename"),
    "Str404": ("Export One", "匯出單個", "Export Selected"),
    "Str405": ("Export All", "全部匯出", "Export All"),
    "Str406": ("Import One", "匯入單個", "Import Selected"),
    "Str407": ("Import All", "全部匯入", "Import All"),
    "Str408": ("Delete", "刪除", "Delete"),
    "Str409": ("Insert", "插入", "Insert"),
    "Str410": ("Insert Delay Front", "在前面插入延遲", "Delay Before"),
    "Str411": ("Insert Delay Back", "在後面插入延遲", "Delay After"),
    "Str412": ("Insert Key Front", "在前面插入按鍵", "Key Before"),
    "Str413": ("Insert Key Back", "在後面插入按鍵", "Key After"),
    "Str414": ("Record Delay", "錄製延遲", "Recorded Delays"),
    "Str415": ("Default Delay", "預設延遲", "Fixed Delay"),
    "Str416": ("No Delay", "無延遲", "No Delays"),
    "Str417": ("Delay Time", "延遲時間", "Delay"),
    "Str418": ("ms", "毫秒", "ms"),
    "Str420": ("OK", "確定", "OK"),
    "Str421": ("OK", "確定", "OK"),
    "Str422": ("Cancel", "取消", "Cancel"),
    "Str430": ("OK for clear macro?", "確定要清除巨集嗎？", "Clear this macro?"),
    "Str432": ("New Macro", "新增巨集", "New Macro"),
    "Str433": ("Delect Macro", "刪除巨集", "Delete Macro"),
    "Str434": ("Add to Mouse", "加入滑鼠", "Send to Mouse"),
    "Str435": ("Edit", "編輯", "Edit"),
    "Str440": ("Load File", "載入檔案", "Open File"),
    "Str441": ("Update", "更新", "Update"),
    "Str442": ("Update File Path", "更新檔案路徑", "Firmware File"),
    "Str450": ("Insert X/Y axis Front", "在前面插入 X/Y 位移", "Movement Before"),
    "Str451": ("Insert X/Y axis Back", "在後面插入 X/Y 位移", "Movement After"),
    "Str454": ("X value", "X 值", "X"),
    "Str455": ("Y value", "Y 值", "Y"),
    "Str456": ("Insert Start Repeat", "插入重複開始", "Loop Start"),
    "Str457": ("Insert Stop Repeat", "插入重複結束", "Loop End"),
    "Str458": ("Repeat Number", "重複次數", "Repeat Count"),

    "Str500": ("Key Combination", "設定組合鍵", "Key Combination"),
    "Str501": ("Confirm", "確認", "Confirm"),
    "Str502": ("Clear", "清除", "Clear"),
    "Str510": ("Macro Name", "巨集名稱", "Macro Name"),
    "Str511": ("OK", "確定", "OK"),
    "Str512": ("Cancel", "取消", "Cancel"),
    "Str520": ("Input One Key", "輸入一個按鍵", "Press One Key"),
    "Str521": ("Input Delay Time", "輸入延遲時間", "Enter Delay Time"),
    "Str522": ("Please Select One Color", "請選擇一種顏色", "Choose a Colour"),
    "Str523": ("User Color", "自訂顏色", "Custom Colour"),

    "Str700": ("'Right Key'+'Back' Switch LED Mode", "「右鍵」+「後退」切換燈光模式",
               "Right + Back: next lighting mode"),
    "Str701": ("Press 'Middle Key' 3s Switch Office/Gaming Mode", "長按「中鍵」3 秒切換辦公/遊戲模式",
               "Hold Middle 3 s: office/gaming mode"),
    "Str702": ("Press 'DPI' 3s Switch Office/Gaming Mode", "長按「DPI」3 秒切換辦公/遊戲模式",
               "Hold DPI 3 s: office/gaming mode"),
    "Str703": ("Press 'DPI +' 3s Switch Office/Gaming Mode", "長按「DPI +」3 秒切換辦公/遊戲模式",
               "Hold DPI Up 3 s: office/gaming mode"),
    "Str704": ("Press 'DPI -' 3s Switch Office/Gaming Mode", "長按「DPI -」3 秒切換辦公/遊戲模式",
               "Hold DPI Down 3 s: office/gaming mode"),
    "Str705": ("'Right Key'+'Back' Switch Office/Gaming Mode", "「右鍵」+「後退」切換辦公/遊戲模式",
               "Right + Back: office/gaming mode"),
    "Str706": ("'Right Key'+'Forward' Switch Office/Gaming Mode", "「右鍵」+「前進」切換辦公/遊戲模式",
               "Right + Forward: office/gaming mode"),
}

DPI_VALUES = (200, 400, 600, 800, 1000, 1200, 1600, 2000, 2400, 3200, 4800, 6400)


def entries(language):
    """The (key, text) pairs of one language, in key order."""
    pairs = [("FontName", FONT[language]), ("Title", TITLE[language])]
    texts = dict((key, values[language]) for key, values in TEXTS.items())
    for step, value in enumerate(DPI_VALUES):
        texts["Str%03d" % (300 + step)] = str(value)
    pairs += sorted(texts.items())
    return pairs


def table_text(language):
    lines = ["[lang%d]" % (language + 1)]
    previous_group = None
    for key, text in entries(language):
        if '"' in text or "\n" in text:
            raise ValueError("%s: a text may hold no quote or line break" % key)
        group = key[:4]  # a blank line between the hundreds
        if previous_group is not None and group != previous_group:
            lines.append("")
        previous_group = group
        lines.append('"%s=%s"' % (key, text))
    return "\r\n".join(lines) + "\r\n"


def main():
    folder = pathlib.Path("resources")
    for language in range(3):
        data = b"\xff\xfe" + table_text(language).encode("utf-16-le")
        (folder / ("lang%d.txt" % (language + 1))).write_bytes(data)


if __name__ == "__main__":
    main()
