#pragma once
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "ShotInputs.h"

// The correction table as the list shows it: header texts and cell texts, UTF-8. A row shorter
// than the headers is written with empty cells, cells beyond the headers are not written.
struct ReportTable {
    std::vector<std::string> headers;
    std::vector<std::vector<std::string>> rows;
};

// What the report lines above and below the table say about the shot. Metric, as the solver
// keeps its inputs; the drag function name is UTF-8.
struct ReportShot {
    double muzzleVelocity = 0.0;            // m/s
    bool mvCorrectionOff = false;
    double mvTemperature = 0.0;             // °C
    double mvTemperatureChange = 0.0;       // % per 15 °C
    double correctedMuzzleVelocity = 0.0;   // m/s
    bool ballisticCoefficientUsed = true;   // false for a bullet's own drag function
    double ballisticCoefficient = 0.0;
    bool addDerivation = false;
    bool addVerticalDrift = false;
    double stabilityFactor = 0.0;
    std::string dragFunctionName;
    double targetAngle = 0.0;               // degrees
    double zeroDistance = 0.0;              // m
    double sightHeight = 0.0;               // cm
    double clickVertical = 0.0;             // MOA
    double clickHorizontal = 0.0;           // MOA
    double airTemperature = 0.0;            // °C
    double airPressure = 0.0;               // mm Hg
    double humidity = 0.0;                  // %
    double windSpeed = 0.0;                 // m/s
    double windDirection = 0.0;             // degrees
};

// The report's description of a shot: its inputs, the drag function the solve used and what the
// solve derived.
ReportShot reportShotFrom(const ShotInputs& inputs, const DragFunc& dragFunction, const ShotSummary& summary);

// The whole CSV report: Windows-1251 text for a spreadsheet with a Russian locale (";" between
// cells, "," as the decimal point in the cells), CR LF line ends.
std::string csvReportBytes(const ReportShot& shot, const ReportTable& table, std::string_view version = "1.23");

// The whole report as an XML Spreadsheet 2003 workbook, UTF-8; table cells that hold a number are
// number cells.
std::string xmlReportBytes(const ReportShot& shot, const ReportTable& table, std::string_view version = "1.23");

// Write the report whole or not at all: a failed export leaves any file already under that name
// as it was. False when it could not be written.
bool writeCsvReport(const std::filesystem::path& path, const ReportShot& shot, const ReportTable& table,
                    std::string_view version = "1.23");
bool writeXmlReport(const std::filesystem::path& path, const ReportShot& shot, const ReportTable& table,
                    std::string_view version = "1.23");
