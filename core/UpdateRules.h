// What the update check asks the update server, where the answer goes, and how the answer is read.
// The hosts of the update server and of the product's web site are kept here and nowhere else.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "framework/TextFile.h"

inline constexpr char16_t kUpdateServerHost[] = u"update.corvalend.example";
inline constexpr char16_t kWebSiteHost[] = u"www.corvalend.example";

// The answer's file in the temporary-files folder. The folder keeps its own trailing backslash and
// another one is added, as the check has always named it; the system accepts the doubled separator.
std::u16string UpdateAnswerFile(const std::u16string& tempFolder);

// "http://" + host + "/softwareupdate.php?obj=11&ver=" + the version number in decimal.
std::u16string UpdateQueryAddress(std::u16string_view host, uint32_t version);

// The product's download page, opened when the user wants the new version.
std::u16string DownloadPageAddress();

// The server's answer, read as text lines (byte-order mark, or else the ANSI code page): true exactly
// when the marker "[UPDATE]" occurs in it, in this letter case, anywhere.
bool AnswerOffersUpdate(std::string_view answer, const fw::AnsiCodePage& ansi);
