// Reading and writing the string values of one key below HKEY_CURRENT_USER.
#include "framework/Registry.h"

#include <vector>

#include "framework/Error.h"
#include "framework/Text.h"
#include "framework/WinText.h"

namespace fw {

namespace {

// The one redirect of the run: the accessors are made wherever a setting is read, so they find it here.
RegistryRedirect* redirect = nullptr;

std::u16string_view WithoutFinalBackslash(std::u16string_view key) {
    while (!key.empty() && key.back() == u'\\') key.remove_suffix(1);
    return key;
}

}  // namespace

RegistryRedirect::RegistryRedirect(std::u16string subKey, SettingsStore& store)
    : subKey_(std::move(subKey)), store_(store) {
    if (redirect != nullptr) throw Error(u"Only one registry key may be redirected");
    redirect = this;
}

RegistryRedirect::~RegistryRedirect() {
    redirect = nullptr;
}

SettingsStore* RegistryRedirect::StoreFor(const std::u16string& subKey) {
    if (redirect == nullptr || !SameText(WithoutFinalBackslash(subKey), WithoutFinalBackslash(redirect->subKey_)))
        return nullptr;
    return &redirect->store_;
}

RegistryIni::RegistryIni(const std::u16string& subKey) : store_(RegistryRedirect::StoreFor(subKey)) {
    if (store_ != nullptr) return;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, AsWide(subKey), 0, /*class=*/nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS,
                        /*security=*/nullptr, &key, /*disposition=*/nullptr) == ERROR_SUCCESS) {
        key_.reset(key);
    }
}

std::u16string RegistryIni::ReadString(const std::u16string& name, const std::u16string& defaultValue) const {
    if (store_ != nullptr) return store_->Read(name).value_or(defaultValue);
    if (!key_) return defaultValue;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key_.get(), AsWide(name), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return defaultValue;
    }
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key_.get(), AsWide(name), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
        ERROR_SUCCESS) {
        return defaultValue;
    }
    buffer.back() = L'\0';  // the stored value need not end in a null
    return FromWide(buffer.data());
}

int32_t RegistryIni::ReadInteger(const std::u16string& name, int32_t defaultValue) const {
    return ParseInt(ReadString(name, u"")).value_or(defaultValue);
}

bool RegistryIni::ReadBool(const std::u16string& name, bool defaultValue) const {
    return ReadInteger(name, defaultValue ? 1 : 0) != 0;
}

void RegistryIni::WriteString(const std::u16string& name, const std::u16string& value) {
    if (store_ != nullptr) return store_->Write(name, value);
    const auto size = static_cast<DWORD>((value.size() + 1) * sizeof(char16_t));
    if (!key_ || RegSetValueExW(key_.get(), AsWide(name), 0, REG_SZ, reinterpret_cast<const BYTE*>(AsWide(value)),
                                size) != ERROR_SUCCESS) {
        throw Error(u"Failed to set data for '" + name + u"'");
    }
}

void RegistryIni::WriteBool(const std::u16string& name, bool value) {
    WriteString(name, value ? u"1" : u"0");
}

bool RegistryIni::DeleteValue(const std::u16string& name) {
    if (store_ != nullptr) return store_->Delete(name);
    return key_ && RegDeleteValueW(key_.get(), AsWide(name)) == ERROR_SUCCESS;
}

}  // namespace fw
