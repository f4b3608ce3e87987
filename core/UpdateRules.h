// What the update check asks the update server, how long and how much it takes, and how the answer
// is read. The hosts of the update server and of the product's web site are kept here and nowhere
// else.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "framework/TextFile.h"

namespace corvalend {

inline constexpr char16_t kUpdateServerHost[] = u"update.corvalend.example";
inline constexpr char16_t kWebSiteHost[] = u"www.corvalend.example";

// A check that has no complete answer within this time has failed.
inline constexpr std::chrono::milliseconds kUpdateTimeLimit{15000};
// A longer answer is not one of the update server's: the check fails without reading it on.
inline constexpr size_t kLargestUpdateAnswer = 64 * 1024;

// "http://" + host + "/softwareupdate.php?obj=11&ver=" + the version number in decimal.
std::u16string UpdateQueryAddress(std::u16string_view host, uint32_t version);

// The product's download page, opened when the user wants the new version.
std::u16string DownloadPageAddress();

// The server's answer, read as text lines (byte-order mark, or else the ANSI code page): true exactly
// when the marker "[UPDATE]" occurs in it, in this letter case, anywhere.
bool AnswerOffersUpdate(std::string_view answer, const fw::AnsiCodePage& ansi);

}  // namespace corvalend
