#include "RegFile.h"

#include <cstdio>

#include "KeyName.h"
#include "common/Utf16Le.h"

namespace orvanel::reg {
namespace {

using platform::registry::NamedValue;
using platform::registry::Type;

constexpr const char* kHeader = "Windows Registry Editor Version 5.00";
// Hex lists wrap before this column, as regedit and Wine wrap them.
constexpr size_t kHexLineLimit = 77;
constexpr size_t kContinuationIndent = 2;

bool HasUnpairedSurrogate(const Text& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      if (i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
        ++i;
        continue;
      }
      return true;
    }
    if (unit >= 0xDC00 && unit <= 0xDFFF) return true;
  }
  return false;
}

// A REG_SZ is written as a quoted string only when reading that string back gives
// the same bytes: one terminating null, no other, and text that UTF-8 can carry.
bool WritesAsString(const NamedValue& value, Text& text) {
  if (value.type != Type::Sz || value.data.size() < 2 || value.data.size() % 2 != 0) return false;
  text = FromUtf16Le(value.data);
  if (text.back() != u'\0') return false;
  text.pop_back();
  return text.find(u'\0') == Text::npos && !HasUnpairedSurrogate(text);
}

Text Escape(const Text& text) {
  Text escaped;
  for (char16_t c : text) {
    switch (c) {
      case u'\\': escaped += u"\\\\"; break;
      case u'"': escaped += u"\\\""; break;
      case u'\n': escaped += u"\\n"; break;
      case u'\r': escaped += u"\\r"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

void AppendHex(std::string& out, size_t lineLength, uint32_t type, const std::string& data) {
  char prefix[24];
  if (type == static_cast<uint32_t>(Type::Binary))
    std::snprintf(prefix, sizeof prefix, "hex:");
  else
    std::snprintf(prefix, sizeof prefix, "hex(%x):", type);
  out += prefix;
  lineLength += std::string(prefix).size();
  for (size_t i = 0; i < data.size(); ++i) {
    char pair[3];
    std::snprintf(pair, sizeof pair, "%02x", static_cast<unsigned char>(data[i]));
    out += pair;
    if (i + 1 == data.size()) break;
    out += ',';
    lineLength += 3;
    if (lineLength >= kHexLineLimit) {
      out += "\\\n  ";
      lineLength = kContinuationIndent;
    }
  }
}

void AppendValue(std::string& out, const NamedValue& value) {
  const Text name = value.name.empty() ? Text(u"@=") : u"\"" + Escape(value.name) + u"\"=";
  out += WideToUtf8(name);
  Text text;
  if (WritesAsString(value, text)) {
    out += "\"" + WideToUtf8(Escape(text)) + "\"";
  } else if (value.type == Type::Dword && value.data.size() == 4) {
    const auto byte = [&](int i) { return static_cast<uint32_t>(static_cast<unsigned char>(value.data[i])); };
    char dword[20];
    std::snprintf(dword, sizeof dword, "dword:%08x",
                  byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24);
    out += dword;
  } else {
    AppendHex(out, name.size(), static_cast<uint32_t>(value.type), value.data);
  }
  out += '\n';
}

// --- reading ---

Text DecodeFile(const std::string& bytes) {
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE')
    return FromUtf16Le(bytes.data() + 2, bytes.size() - 2);
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return Utf8ToWide(bytes.substr(3));
  return Utf8ToWide(bytes);
}

std::vector<Text> SplitLines(const Text& text) {
  std::vector<Text> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(u'\n', start);
    if (end == Text::npos) end = text.size();
    Text line = text.substr(start, end - start);
    if (!line.empty() && line.back() == u'\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

Text TrimLeft(const Text& text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  return text.substr(i);
}

Text TrimRight(Text text) {
  while (!text.empty() && IsBlank(text.back())) text.pop_back();
  return text;
}

bool StartsWith(const Text& text, size_t at, const char* ascii) {
  for (size_t i = 0; ascii[i]; ++i) {
    if (at + i >= text.size() || text[at + i] != static_cast<unsigned char>(ascii[i])) return false;
  }
  return true;
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Reads hex digits (at most maxDigits, at least one) as a number.
bool ParseHexNumber(const Text& digits, size_t maxDigits, uint32_t& number) {
  if (digits.empty() || digits.size() > maxDigits) return false;
  number = 0;
  for (char16_t c : digits) {
    const int digit = HexDigit(c);
    if (digit < 0) return false;
    number = number << 4 | static_cast<uint32_t>(digit);
  }
  return true;
}

class Reader {
 public:
  Reader(std::vector<Text> lines, std::vector<RegKey>& keys) : lines_(std::move(lines)), keys_(keys) {}

  bool Read(std::string& error) {
    bool headerSeen = false;
    for (index_ = 0; index_ < lines_.size(); ++index_) {
      const Text line = TrimRight(TrimLeft(lines_[index_]));
      if (line.empty()) continue;
      if (!headerSeen) {
        if (line != Utf8ToWide(kHeader))
          return Fail(error, std::string("the first line must be \"") + kHeader + "\"");
        headerSeen = true;
      } else if (line[0] == u';') {
        continue;
      } else if (line[0] == u'[') {
        if (!ReadKey(line, error)) return false;
      } else if (line[0] == u'@' || line[0] == u'"') {
        if (!ReadValue(line, error)) return false;
      } else {
        return Fail(error, "neither a key nor a value");
      }
    }
    if (!headerSeen) return Fail(error, std::string("empty; expected \"") + kHeader + "\"");
    return true;
  }

 private:
  bool Fail(std::string& error, const std::string& reason) {
    error = "line " + std::to_string(index_ + 1) + ": " + reason;
    return false;
  }

  bool ReadKey(const Text& line, std::string& error) {
    if (line.back() != u']') return Fail(error, "a key line must end with ']'");
    const Text name = line.substr(1, line.size() - 2);
    if (!name.empty() && name[0] == u'-') return Fail(error, "deleting keys is not supported");
    RegKey key;
    if (!ParseKeyName(name, key.path)) return Fail(error, "not a key of HKEY_CLASSES_ROOT");
    keys_.push_back(std::move(key));
    return true;
  }

  // A quoted, escaped text starting at `at` (the opening quote); `at` ends after
  // the closing quote.
  bool ReadQuoted(const Text& line, size_t& at, Text& text) {
    text.clear();
    for (++at; at < line.size(); ++at) {
      const char16_t c = line[at];
      if (c == u'"') {
        ++at;
        return true;
      }
      if (c == u'\\' && at + 1 < line.size()) {
        const char16_t next = line[++at];
        switch (next) {
          case u'\\': text += u'\\'; break;
          case u'"': text += u'"'; break;
          case u'n': text += u'\n'; break;
          case u'r': text += u'\r'; break;
          default: text += u'\\'; text += next;
        }
      } else {
        text += c;
      }
    }
    return false;
  }

  bool ReadValue(const Text& line, std::string& error) {
    if (keys_.empty()) return Fail(error, "a value before the first key");
    NamedValue value;
    size_t at = 0;
    if (line[0] == u'@') {
      at = 1;
    } else if (!ReadQuoted(line, at, value.name)) {
      return Fail(error, "the value name has no closing quote");
    }
    if (at >= line.size() || line[at] != u'=') return Fail(error, "'=' expected after the value name");
    ++at;
    if (at < line.size() && line[at] == u'"') {
      Text text;
      if (!ReadQuoted(line, at, text)) return Fail(error, "the string has no closing quote");
      if (at != line.size()) return Fail(error, "text after the closing quote");
      value.type = Type::Sz;
      value.data = ToUtf16Le(text + u'\0');
    } else if (StartsWith(line, at, "dword:")) {
      uint32_t number;
      if (!ParseHexNumber(line.substr(at + 6), 8, number))
        return Fail(error, "dword: needs 1 to 8 hex digits");
      value.type = Type::Dword;
      for (int shift = 0; shift < 32; shift += 8) value.data.push_back(static_cast<char>(number >> shift));
    } else if (StartsWith(line, at, "hex")) {
      if (!ReadHex(line, at + 3, value, error)) return false;
    } else if (StartsWith(line, at, "-")) {
      return Fail(error, "deleting values is not supported");
    } else {
      return Fail(error, "the value data must be a string, dword: or hex");
    }
    keys_.back().values.push_back(std::move(value));
    return true;
  }

  bool ReadHex(const Text& line, size_t at, NamedValue& value, std::string& error) {
    uint32_t type = static_cast<uint32_t>(Type::Binary);
    if (at < line.size() && line[at] == u'(') {
      const size_t close = line.find(u')', at);
      if (close == Text::npos || !ParseHexNumber(line.substr(at + 1, close - at - 1), 8, type))
        return Fail(error, "hex(N): needs a hex type number");
      at = close + 1;
    }
    if (at >= line.size() || line[at] != u':') return Fail(error, "':' expected after hex");
    Text list = line.substr(at + 1);
    // A list ending in '\' goes on in the next line.
    while (!list.empty() && list.back() == u'\\') {
      list.pop_back();
      const Text next = index_ + 1 < lines_.size() ? TrimRight(TrimLeft(lines_[index_ + 1])) : Text();
      if (next.empty()) return Fail(error, "the hex list ends with a continuation");
      list += next;
      ++index_;
    }
    value.type = static_cast<Type>(type);
    if (TrimLeft(list).empty()) return true;
    size_t start = 0;
    while (start <= list.size()) {
      size_t end = list.find(u',', start);
      if (end == Text::npos) end = list.size();
      uint32_t byte;
      if (!ParseHexNumber(TrimRight(TrimLeft(list.substr(start, end - start))), 2, byte))
        return Fail(error, "hex lists are bytes of two hex digits, separated by commas");
      value.data.push_back(static_cast<char>(byte));
      start = end + 1;
    }
    return true;
  }

  std::vector<Text> lines_;
  std::vector<RegKey>& keys_;
  size_t index_ = 0;
};

}  // namespace

std::string FormatRegFile(const std::vector<RegKey>& keys) {
  std::string out = std::string(kHeader) + "\n\n";
  for (const RegKey& key : keys) {
    out += "[" + WideToUtf8(FullKeyName(key.path)) + "]\n";
    for (const NamedValue& value : key.values) AppendValue(out, value);
    out += '\n';
  }
  return out;
}

bool ParseRegFile(const std::string& bytes, std::vector<RegKey>& keys, std::string& error) {
  keys.clear();
  Reader reader(SplitLines(DecodeFile(bytes)), keys);
  return reader.Read(error);
}

}  // namespace orvanel::reg
