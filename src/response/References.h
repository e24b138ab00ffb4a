#pragma once

#include <string>
#include <string_view>

#include "scans/Scan.h"

namespace uvlamp {

class TOperator;
class TProgram;

// Response files hold lines of two numbers, a wavelength in angstroms and a value; files larger
// than this are refused unread.
inline constexpr unsigned long long kMaxResponseFileBytes = 32ull * 1024 * 1024;

// Fills the scan from a response file: one point per line that starts with two numbers (other
// lines, such as headers, are skipped), wavelengths in micrometres. False, with the scan
// unchanged and the reason in whyNot, when the file cannot be read or holds no such line.
bool ReadResponseFile(TScan& scan, const std::string& fileName, std::string* whyNot = nullptr);
// The same from the text of a response file: false, with the scan unchanged, when it holds no
// line of two numbers. The scan is given a single wavelength range.
bool ReadResponseText(TScan& scan, std::string_view text);

// The "File" reference of the response graph: replaces the program's FileReference by the
// response file, with the file of the first scan of the first lamp (so the instrument's smoothing
// applies to it). When the file cannot be read there is no FileReference and false is returned.
bool LoadFileReference(TProgram& program, const std::string& fileName);

// The UVRES response for the lamp spectra: replaces the program's UvresResponse by the file. When
// the file cannot be read or holds no pair, there is no UvresResponse and the operator is told.
bool LoadUvresResponse(TProgram& program, TOperator& op, const std::string& fileName);

}  // namespace uvlamp
