#!/usr/bin/env python3
"""Writes the page skin tables resources/org1.ini .. org3.ini.

Each table is 8-bit INI text: the section [orgN] with every numeric key the
window places its controls by, for the window drawn by artwork/ (a 1040 x 680
background: the navigation column on the left, the page area to its right).
Languages 2 and 3 share language 1's layout and change only what their texts
need. Run from the repository root: python3 tools/make_skin_tables.py
"""
import pathlib

NAV_X = 24
PAGE_X, PAGE_Y = 216, 84


def frame():
    keys = {"Size_A": 12, "Color_A_R": 255, "Color_A_G": 255, "Color_A_B": 255}
    # Confirm 1 only; 2 and 3 exist but are hidden.
    keys.update({"Btn_A2_Enable": 1, "Btn_A2_X": 846, "Btn_A2_Y": 604})
    keys.update({"Btn_A3_Enable": 0, "Btn_A3_X": 660, "Btn_A3_Y": 604})
    keys.update({"Btn_A5_Enable": 0, "Btn_A5_X": 474, "Btn_A5_Y": 604})
    keys.update({"Btn_A4_Enable": 1, "Btn_A4_X": 990, "Btn_A4_Y": 18})   # exit
    keys.update({"Btn_A6_Enable": 1, "Btn_A6_X": 950, "Btn_A6_Y": 18})   # minimise
    keys.update({"Size_B": 11, "Color_B_R": 214, "Color_B_G": 222, "Color_B_B": 232})
    keys.update({"Btn_Space_F": 14, "Btn_Space_B": 14})
    # B1..B5, B11, B12: the page buttons; B6, B7 save and load; B8..B10 languages.
    order = [1, 2, 3, 4, 5, 11, 12]
    for i, b in enumerate(order):
        keys.update({f"Btn_B{b}_Enable": 1, f"Btn_B{b}_X": NAV_X, f"Btn_B{b}_Y": 100 + 44 * i})
    keys.update({"Btn_B6_Enable": 1, "Btn_B6_X": NAV_X, "Btn_B6_Y": 428})
    keys.update({"Btn_B7_Enable": 1, "Btn_B7_X": NAV_X, "Btn_B7_Y": 472})
    for i, b in enumerate([8, 9, 10]):
        keys.update({f"Btn_B{b}_Enable": 1, f"Btn_B{b}_X": NAV_X, f"Btn_B{b}_Y": 536 + 40 * i})
    return keys


def key_page():
    keys = {"Size_C": 10, "Color_C_R": 236, "Color_C_G": 240, "Color_C_B": 244}
    for n in range(1, 6):
        keys.update({f"P{n}_X": PAGE_X, f"P{n}_Y": PAGE_Y})
    # Skin keys 1..12 in the order left, right, middle, forward, backward, DPI
    # loop, fire, LED, then four extra buttons: left column, right column.
    places = [(246, 124), (856, 124), (856, 176), (246, 228), (246, 280), (856, 228),
              (246, 176), (856, 280), (246, 332), (856, 332), (246, 384), (856, 384)]
    for n, (x, y) in enumerate(places, start=1):
        keys.update({f"Key{n}_Enable": 1 if n <= 8 else 0, f"Key{n}_X": x, f"Key{n}_Y": y})
    for n in range(1, 8):
        keys.update({f"ComboKey{n}_Enable": 1, f"ComboKey{n}_X": 250,
                     f"ComboKey{n}_Y": 440 + 24 * (n - 1)})
    keys.update({"Size_G": 10, "Color_G_R": 220, "Color_G_G": 226, "Color_G_B": 234})
    keys.update(colour("G_Back", (26, 29, 36)))
    keys.update(colour("G_Border", (226, 46, 58)))
    keys.update(colour("G_SF", (255, 255, 255)))
    keys.update(colour("G_SP", (180, 30, 42)))
    keys.update({"M_L_W": 170, "SP_L_W": 190, "O_L_W": 170})
    # The special-key menu's power and MAC OS entries: shown by this skin.
    keys.update({"Key_ACPIKey_Enable": 1, "Key_MACOS_Enable": 1})
    return keys


def colour(stem, rgb):
    return {f"Color_{stem}_R": rgb[0], f"Color_{stem}_G": rgb[1], f"Color_{stem}_B": rgb[2]}


def advanced_page():
    keys = {"Size_D": 10}
    keys.update(colour("D", (214, 222, 232)))
    keys.update(colour("D_Selected", (255, 84, 96)))
    keys.update(colour("D_notSelected", (150, 158, 170)))
    keys.update(colour("D_Back", (20, 22, 28)))
    keys.update(colour("D_Border", (90, 96, 108)))
    keys.update(colour("BG_Slider", (36, 39, 48)))
    # Fire rows under a header line: name, shots, interval, keep firing.
    for n in range(1, 4):
        y = 134 + 34 * (n - 1)
        keys.update({f"FK{n}Name_X": 788, f"FK{n}Name_Y": y + 4,
                     f"FK{n}Cnt_X": 880, f"FK{n}Cnt_Y": y, f"FK{n}Delay_X": 920,
                     f"FK{n}Delay_Y": y, f"FK{n}Continue_X": 974, f"FK{n}Continue_Y": y + 3})
    for n in range(1, 5):
        keys.update({f"Rep{n}_X": 372 + 90 * (n - 1), f"Rep{n}_Y": 405})
    keys.update({"Spd_X": 780, "Spd_Y": 296, "Spd_D": 2})
    keys.update({"DbSpd_X": 780, "DbSpd_Y": 372, "DbSpd_D": 2})
    keys.update({"ScrSpd_X": 780, "ScrSpd_Y": 448, "ScrSpd_D": 2})
    keys.update({"IsControl_X": 782, "IsControl_Y": 514, "IsScreen_X": 782, "IsScreen_Y": 544})
    keys["DPI_Orientation"] = 0
    for n in range(1, 9):
        # All eight levels side by side inside the DPI panel.
        x = 252 + 60 * (n - 1)
        keys.update({f"DPI{n}_Color_X": x + 6, f"DPI{n}_Color_Y": 112,
                     f"DPI{n}_Check_X": x + 10, f"DPI{n}_Check_Y": 146,
                     f"DPI{n}_X": x, f"DPI{n}_Y": 170,
                     f"DPI{n}_Value_X": x, f"DPI{n}_Value_Y": 190,
                     f"DPI{n}_Steps_X": x, f"DPI{n}_Steps_Y": 214, f"DPI{n}_Steps_D": 2})
    keys.update({"AIMDPI_X": 256, "AIMDPI_Y": 468, "AIMDPI_Value_X": 640, "AIMDPI_Value_Y": 468,
                 "AIMDPI_Steps_X": 256, "AIMDPI_Steps_Y": 496, "AIMDPI_Steps_D": -1})
    return keys


def light_page():
    keys = {"Size_E": 10}
    keys.update(colour("E", (214, 222, 232)))
    # Left: the LED type over the seven effects, each with its enable box;
    # below them the MCU LED strip's step bar and its two lists.
    keys["LEDType_X"], keys["LEDType_Y"] = 372, 114
    for n in range(1, 8):
        y = 156 + 34 * (n - 1)
        keys.update({f"LEDEnable{n}_X": 256, f"LEDEnable{n}_Y": y,
                     f"LEDMode{n}_X": 290, f"LEDMode{n}_Y": y})
    keys.update({"StepTime_X": 256, "StepTime_Y": 446, "StepTime_D": 4})
    keys.update({"MCULEDCtrl_X": 256, "MCULEDCtrl_Y": 508, "MCULEDNum_X": 410,
                 "MCULEDNum_Y": 508, "LEDNum_X": 410, "LEDNum_Y": 508})
    # Right: step time and breathing, the ten colours, button flash, the
    # profiles' colours.
    keys.update({"Fall_X": 680, "Fall_Y": 122, "Fall_D": 4, "StepTimeEdit_X": 916,
                 "StepTimeEdit_Y": 117})
    keys.update({"Lower_X": 680, "Lower_Y": 158, "Upper_X": 916, "Upper_Y": 158,
                 "LowerTime_X": 680, "LowerTime_Y": 194, "UpperTime_X": 916, "UpperTime_Y": 194})
    keys.update({"BtnEFT_X": 568, "BtnEFT_Y": 234})
    keys.update({"Col_X": 570, "Col_Y": 310, "Col_D": 14})
    for n in range(1, 4):
        keys.update({f"ProfileColor{n}_X": 568, f"ProfileColor{n}_Y": 400 + 34 * (n - 1),
                     f"ProfileColor{n}_Box_X": 760})
    # Present in the table, read by no one.
    keys.update({"LED3Control_X": 560, "LED3Control_Y": 260,
                 "LED6Control_X": 560, "LED6Control_Y": 320})
    return keys


def macro_page():
    keys = {"Size_F": 10}
    keys.update(colour("F", (214, 222, 232)))
    keys.update(colour("F_LBack", (20, 22, 28)))
    keys.update(colour("F_LBorder", (90, 96, 108)))
    keys.update(colour("F_Font", (236, 240, 244)))
    keys.update(colour("F_Back", (30, 33, 41)))
    keys["MacroNameHeight"] = 22
    # Three lists side by side over the page's boxes, the record-new and
    # record buttons under the library and the content, and below them the
    # delay group or, while inserting, the insert panel.
    lists = {"PCMacroName": (246, 130, 220, 300), "MseMacroName": (486, 130, 220, 300),
             "MacroContent": (726, 130, 272, 300)}
    for name, (x, y, w, h) in lists.items():
        keys.update({f"{name}_X": x, f"{name}_Y": y, f"{name}_W": w, f"{name}_H": h})
    places = {"BtnNew": (281, 438), "BtnStart": (787, 438), "DelayTime": (258, 498),
              "RecDelay": (258, 526), "DelayEdit": (420, 552), "Insert": (516, 494),
              "InsertList": (258, 498), "InsertRecDelay": (258, 534),
              "InsertDelayEdit": (650, 520), "InsertAxisEdit": (650, 520),
              "InsertBtnStart": (258, 606), "InsertBtnOK": (546, 598),
              "InsertBtnCancel": (676, 598)}
    for name, (x, y) in places.items():
        keys.update({f"{name}_X": x, f"{name}_Y": y})
    keys.update({"RecDelay_H": 28, "InsertRecDelay_H": 24})
    return keys


def update_page_and_dialogs():
    keys = {"Size_I": 11}
    keys.update(colour("I", (214, 222, 232)))
    keys.update({"lbl_BINPath_X": 262, "lbl_BINPath_Y": 450, "lbl_LoadBin_X": 262,
                 "lbl_LoadBin_Y": 478, "Btn_LoadBin_X": 262, "Btn_LoadBin_Y": 520,
                 "Btn_Program_X": 440, "Btn_Program_Y": 520})
    keys.update({"Size_K": 10})
    keys.update(colour("K", (236, 240, 244)))
    keys.update(colour("K_AK", (20, 22, 28)))
    # The key-combination dialog on its 380 x 190 "Msg" picture: title, edit
    # box, the check boxes Ctrl, Shift, Alt, Win, Tab, then confirm and clear.
    keys.update({"AKT_X": 20, "AKT_Y": 16, "AKT_W": 310, "AKC_X": 20, "AKC_Y": 52, "AKC_W": 340})
    for i, name in enumerate(["MK_C", "MK_S", "MK_A", "MK_W", "MK_T"]):
        keys.update({f"{name}_X": 20 + 68 * i, f"{name}_Y": 98})
    keys.update({"AK_Cfm_X": 30, "AK_Cfm_Y": 140, "AK_Clear_X": 200, "AK_Clear_Y": 140,
                 "AK_Close_X": 340, "AK_Close_Y": 10})
    keys.update({"Size_L": 10})
    keys.update(colour("L", (236, 240, 244)))
    keys.update(colour("L_MN", (20, 22, 28)))
    keys.update({"MNT_X": 20, "MNT_Y": 16, "MNT_W": 320, "MNC_X": 20, "MNC_Y": 56, "MNC_W": 320,
                 "MN_Cfm_X": 40, "MN_Cfm_Y": 140, "MN_Clear_X": 150, "MN_Clear_Y": 140,
                 "MN_Close_X": 326, "MN_Close_Y": 8})
    return keys


SECTIONS = [("Window frame: confirm, exit, minimise, navigation", frame),
            ("Key page", key_page),
            ("Advanced page: fire keys, polling rate, pointer, DPI, AIM", advanced_page),
            ("Breathing light page", light_page),
            ("Macro page", macro_page),
            ("Update page and the small dialogs", update_page_and_dialogs)]


def table(language, changes):
    lines = [";//*****************************************************************",
             f";// [org{language}]: where the window's controls lie in language {language}.",
             ";// Written by tools/make_skin_tables.py. Numbers are decimal integers.",
             ";//*****************************************************************",
             f"[org{language}]"]
    for title, make in SECTIONS:
        lines.append(f"//*** {title} ***")
        for key, value in make().items():
            lines.append(f"{key}={changes.get(key, value)}")
    return "\r\n".join(lines) + "\r\n"


def main():
    root = pathlib.Path(__file__).resolve().parent.parent / "resources"
    # Traditional Chinese captions are short and need a larger face.
    chinese = {"Size_B": 12, "Size_C": 11}
    # The second English variant's face is narrow: a size larger reads better.
    narrow = {"Size_B": 12, "Size_A": 13}
    for language, changes in ((1, {}), (2, chinese), (3, narrow)):
        (root / f"org{language}.ini").write_bytes(table(language, changes).encode("ascii"))


if __name__ == "__main__":
    main()
