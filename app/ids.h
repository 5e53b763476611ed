// ids.h: the identifiers of every window, menu item, control, image and font.
//
// Each is a small fixed integer. A control id names one control at a time,
// whatever window it is in: windows that are never open together reuse numbers
// (the RH Profile, Preferences, Limits and About windows all have okButton; the
// Download and Monitor windows share deviceWindow and several controls).
#pragma once

namespace app {

enum Window {
    mainWindow = 0,
    profileWindow = 1,
    timePickerWindow = 2,
    limitsWindow = 3,
    preferencesWindow = 5,
    deviceWindow = 6,          // the Download or the Monitor window
    aboutWindow = 7,
};

enum MenuItem {
    mainMenu = 77,
    menuImportRecords = 78,
    menuDownloadRecords = 79,
    menuClose = 80,
    menuSaveAs = 81,
    menuMonitor = 82,
    menuExportAsExcel = 83,
    menuPrint = 84,
    menuExit = 85,
    menuPreferences = 86,
    menuAbout = 87,
};
static_assert(menuAbout - menuImportRecords == 9, "menu items are numbered 78 to 87");
// Beyond the items above, numbered after every other identifier.
enum ExtraMenuItem {
    menuExportReport = 94,
    menuLimits = 95,
};

constexpr int statusBar = 93;

enum Image {
    graphImage = 70,
    printImage = 71,
    printTitleImage = 72,
    humiditySwatch = 73,
    temperatureSwatch = 74,
    logoImage = 75,
    devicePicture = 76,
    reportImage = 120,   // the graph of the PDF report
};

enum Font {
    readingFont = 88,
    printTitleFont = 89,
    graphFont = 91,
};

enum Control {
    // Main window
    measuringFrame = 8,
    firstRecordText = 9,
    lastRecordText = 10,
    recordCountText = 11,
    analysisFrame = 12,
    humidityMaxText = 13,
    humidityMinText = 14,
    temperatureMaxText = 15,
    temperatureMinText = 16,
    timeScaleFrame = 19,
    timeScaleTrackBar = 20,
    graphView = 21,
    graphScrollBar = 22,
    profileButton = 51,
    // Preferences window
    humidityColorButton = 17,
    temperatureColorButton = 18,
    colorsFrame = 23,
    humidityLabel = 24,
    temperatureLabel = 25,
    temperatureScaleFrame = 26,
    celsiusOption = 28,
    fahrenheitOption = 29,
    styleFrame = 30,
    dotOption = 31,
    lineOption = 32,
    // Shared by the RH Profile, Preferences, Limits and About windows
    okButton = 33,
    // Limits window: for each limit a check box and its field, in LimitKind order
    temperatureLimitsFrame = 34,
    humidityLimitsFrame = 35,
    delayFrame = 36,
    firstLimitCheckBox = 37,   // 37 to 40
    firstLimitField = 41,      // 41 to 44
    firstLimitUnit = 45,       // 45 to 48
    delayLabel = 49,
    delayField = 50,
    delayUnit = 27,
    // About window
    logoView = 52,
    aboutFrame = 53,
    aboutTextView = 54,
    webLink = 55,
    // RH Profile window
    profileFrame = 56,
    profileList = 57,
    profileRangeFrame = 58,
    profileFromText = 59,
    profileToText = 60,
    profileFromButton = 61,
    profileToButton = 62,
    // Input Time window
    timePickerList = 63,
    timePickerOkButton = 64,
    // Download and Monitor windows
    pictureView = 65,
    addressField = 66,
    addressLabel = 67,
    deviceButton = 68,         // "Download Records" or "Start Monitor"
    downloadStatusBar = 69,
};
static_assert(temperatureMinText - humidityMaxText == 3, "the four extremes texts are 13 to 16");

} // namespace app
