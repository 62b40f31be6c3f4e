// Resource and control identifiers of the label program.
#pragma once

constexpr int IDD_ABOUTBOX = 100;
constexpr int IDS_ABOUTBOX = 101;
constexpr int IDD_PELLORA_DIALOG = 102;
constexpr int IDR_MAINFRAME = 133;
constexpr unsigned IDM_ABOUTBOX = 0x0010;

constexpr int IDC_RADIO_CHINESE = 1000;
constexpr int IDC_RADIO_ENGLISH = 1001;
constexpr int IDC_EDIT_NAME = 1002;
constexpr int IDC_EDIT_MODEL = 1003;
constexpr int IDC_EDIT_POWER = 1004;
constexpr int IDC_EDIT_POE = 1005;
constexpr int IDC_EDIT_MAC = 1006;
constexpr int IDC_EDIT_SN = 1007;
constexpr int IDC_EDIT_LENS = 1008;
constexpr int IDC_STATIC_NAME = 1009;
constexpr int IDC_STATIC_MODEL = 1010;
constexpr int IDC_STATIC_POWER = 1011;
constexpr int IDC_STATIC_LENS = 1012;
constexpr int IDC_STATIC_POE = 1013;
constexpr int IDC_STATIC_SN = 1014;
constexpr int IDC_STATIC_MAC = 1015;
constexpr int IDC_BUTTON_PREVIEW = 1016;
constexpr int IDC_EDIT_CAPTCHA = 1017;
constexpr int IDC_STATIC_CAPTCHA = 1018;
constexpr int IDC_BUTTON_DIRECT_PRINT = 3;
