#pragma once
// The text forms of companion requests and answers: list fields, the numbers in them, the
// calibration and save requests, file names, and the numbers of answers.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorna {

// Blanks removed, ";" read as ",", split at ","; an empty text gives no fields, an empty field
// between two commas stays.
std::vector<std::string> SplitListFields(std::string_view text);

// The whole number at the start of a field as the C library's atoi reads it (sign and decimal
// digits, the rest ignored); 0 when there is none. Saturates instead of overflowing.
long long FieldInteger(std::string_view field);
// The decimal number at the start of a field; 0 when there is none.
double FieldNumber(std::string_view field);

// count ":" label ":" group ":" then count entries, each channel "," energy ";".
struct FpCalibrationRequest {
    long long count = 0;
    std::string label;
    long long group = 0;
    struct Point {
        double channel = 0.0;
        double energy = 0.0;
    };
    std::vector<Point> points; // exactly `count` when count > 0
};
// Nothing when the text is empty or malformed: a header part missing, fewer entries than the
// count announces, or a number that is not finite. A count of 0 or less parses with no points.
std::optional<FpCalibrationRequest> ParseCalibrationRequest(std::string_view text);

// The save request: file name, tag and description.
struct FpSaveRequest {
    std::string name;
    std::string tag;
    std::string description;
};
// Nothing unless the list has one to three fields. A missing or empty tag is "UnknownTag", a
// missing description "No Description"; the name may be empty (the caller refuses it).
std::optional<FpSaveRequest> ParseSaveRequest(std::string_view text);

// True when a file name names a folder too ('/' or '\').
bool HasFolder(std::string_view name);
// A bare name in `spectraDirectory` (with its trailing separator) with ".mca" added; a name with
// a folder as it is.
std::string SpectrumPathForName(const std::string& name, const std::string& spectraDirectory);
// The folder part of a path, with its trailing separator.
std::string FolderOfPath(const std::string& path);
// `path` with "_1" before its extension; a bare name is placed in `spectraDirectory`.
std::string DotsFileName(const std::string& path, const std::string& spectraDirectory);
// A companion's tag or label as the program keeps it: cut to `maxLength` (none when negative),
// control characters (a line break would end the line of a spectrum file) made blanks.
std::string CleanCompanionText(std::string_view text, int maxLength);

// Answer numbers: channel counts as whole numbers (the C "%d" for every value an int holds,
// larger counts in full rather than wrapped), times and coefficients with "%g".
std::string CountText(double value);
std::string JoinCounts(const std::vector<double>& values, size_t limit);
std::string GText(double value);

} // namespace vorna
