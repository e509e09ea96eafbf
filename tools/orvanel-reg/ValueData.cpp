#include "ValueData.h"

#include <cstdio>
#include <cstring>

#include "KeyName.h"
#include "common/Utf16Le.h"

namespace orvanel::reg {
namespace {

using platform::registry::Type;

struct TypeEntry {
  Type type;
  const char* name;
};
constexpr TypeEntry kTypes[] = {
    {Type::None, "REG_NONE"},           {Type::Sz, "REG_SZ"},
    {Type::ExpandSz, "REG_EXPAND_SZ"},  {Type::Binary, "REG_BINARY"},
    {Type::Dword, "REG_DWORD"},         {Type::DwordBigEndian, "REG_DWORD_BIG_ENDIAN"},
    {Type::Link, "REG_LINK"},           {Type::MultiSz, "REG_MULTI_SZ"},
    {Type::Qword, "REG_QWORD"},
};

uint64_t LittleEndian(const std::string& data) {
  uint64_t number = 0;
  for (size_t i = data.size(); i-- > 0;) number = number << 8 | static_cast<unsigned char>(data[i]);
  return number;
}

// Decimal, or hex after 0x, as reg.exe reads numbers.
bool ParseNumber(const Text& argument, uint64_t limit, uint64_t& number) {
  const std::string text = WideToUtf8(argument);
  if (text.empty()) return false;
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  number = 0;
  for (size_t i = hex ? 2 : 0; i < text.size(); ++i) {
    const char c = text[i];
    int digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (hex && c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else if (hex && c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else
      return false;
    const uint64_t base = hex ? 16 : 10;
    if (number > (limit - static_cast<uint64_t>(digit)) / base) return false;
    number = number * base + static_cast<uint64_t>(digit);
  }
  return true;
}

}  // namespace

std::string TypeName(Type type) {
  for (const TypeEntry& entry : kTypes) {
    if (entry.type == type) return entry.name;
  }
  char name[32];
  std::snprintf(name, sizeof name, "REG_0x%x", static_cast<unsigned>(type));
  return name;
}

bool ParseTypeName(const Text& name, Type& type) {
  for (const TypeEntry& entry : kTypes) {
    if (SameAsciiWord(name, entry.name) && entry.type != Type::Link) {
      type = entry.type;
      return true;
    }
  }
  return false;
}

std::string ShowData(Type type, const std::string& data) {
  switch (type) {
    case Type::Sz:
    case Type::ExpandSz: {
      const Text text = FromUtf16Le(data);
      return WideToUtf8(text.substr(0, text.find(u'\0')));
    }
    case Type::MultiSz: {
      Text text = FromUtf16Le(data);
      while (!text.empty() && text.back() == u'\0') text.pop_back();
      std::string shown;
      for (char16_t unit : text) shown += unit == u'\0' ? std::string("\\0") : WideToUtf8(Text(1, unit));
      return shown;
    }
    case Type::Dword:
    case Type::Qword:
      if (data.size() == (type == Type::Dword ? 4u : 8u)) {
        char number[24];
        std::snprintf(number, sizeof number, "0x%llx",
                      static_cast<unsigned long long>(LittleEndian(data)));
        return number;
      }
      break;
    default:
      break;
  }
  std::string hex;
  for (unsigned char byte : data) {
    char pair[3];
    std::snprintf(pair, sizeof pair, "%02X", byte);
    hex += pair;
  }
  return hex;
}

bool DataFromArgument(Type type, const Text& argument, std::string& data, std::string& error) {
  data.clear();
  switch (type) {
    case Type::Sz:
    case Type::ExpandSz:
      AppendUtf16Le(data, argument + u'\0');
      return true;
    case Type::MultiSz: {
      // Items separated by the two characters \0, as reg.exe takes them.
      size_t start = 0;
      while (!argument.empty()) {
        const size_t end = argument.find(u"\\0", start);
        AppendUtf16Le(data, argument.substr(start, end == Text::npos ? Text::npos : end - start) + u'\0');
        if (end == Text::npos) break;
        start = end + 2;
      }
      AppendUtf16Le(data, Text(1, u'\0'));
      return true;
    }
    case Type::Dword:
    case Type::DwordBigEndian:
    case Type::Qword: {
      const bool wide = type == Type::Qword;
      uint64_t number;
      if (!ParseNumber(argument, wide ? UINT64_MAX : UINT32_MAX, number)) {
        error = TypeName(type) + " data must be a " + (wide ? "64" : "32") +
                "-bit number, decimal or hex after 0x.";
        return false;
      }
      const int bytes = wide ? 8 : 4;
      for (int i = 0; i < bytes; ++i) {
        const int shift = type == Type::DwordBigEndian ? 8 * (bytes - 1 - i) : 8 * i;
        data.push_back(static_cast<char>(number >> shift));
      }
      return true;
    }
    default: {
      const std::string hex = WideToUtf8(argument);
      if (hex.size() % 2 != 0 || hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        error = TypeName(type) + " data must be pairs of hex digits.";
        return false;
      }
      for (size_t i = 0; i < hex.size(); i += 2)
        data.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
      return true;
    }
  }
}

}  // namespace orvanel::reg
