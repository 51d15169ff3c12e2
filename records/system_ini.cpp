#include "records/system_ini.h"

#include <algorithm>
#include <cstring>

#include "base/report_log.h"
#include "platform/host_path.h"
#include "platform/text_encoding.h"
#include "records/system.h"

namespace {

constexpr int MAX_LINES = 10000;
// Keys and values are at most this long; a longer one is ignored whole, so a
// cut-off prefix never matches a key or sets a value it does not hold.
constexpr size_t MAX_TOKEN = 2047;
constexpr int POS_FREESTAGE = 8;
constexpr int POS_ENGLISH = 9;

// The int settings by key position 0..7.
int32_t SYSTEMINI::*const kNumberFields[] = {
    &SYSTEMINI::nDirect3D,      &SYSTEMINI::nWindowMode,   &SYSTEMINI::nBpp,
    &SYSTEMINI::nVSync,         &SYSTEMINI::nD3D_FontCache, &SYSTEMINI::nDD_FontCache,
    &SYSTEMINI::nDD_VideoStretch, &SYSTEMINI::nShowFps,
};

// A number as atoi reads it (blanks, a sign, digits, anything after them
// ignored; no digits give 0), but one beyond int32 saturates.
int32_t IniNumber(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && text[i] != '\0' && std::strchr(" \t\n\v\f\r", text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    value = std::min<int64_t>(value * 10 + (text[i] - '0'), int64_t{INT32_MAX} + 1);
  if (negative) value = -value;
  return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

// The start stage takes a text of 2..259 bytes; anything else leaves it.
bool SetFreeStage(SYSTEMINI& ini, const std::string& text) {
  if (text.size() < 2 || text.size() >= FREESTAGE_SIZE) return false;
  std::memcpy(ini.szFreeStage, text.c_str(), text.size() + 1);
  return true;
}

void ApplyValue(SYSTEMINI& ini, const cVector<cEdIniKey>& keys, const std::string& key,
                const std::string& value) {
  int position = -1;
  for (int i = 0; i < keys.Size(); ++i) {
    if (keys[i].m_strKey == key) {
      position = i;
      break;
    }
  }
  if (position < 0) return;
  if (position < POS_FREESTAGE)
    ini.*kNumberFields[position] = IniNumber(value);
  else if (position == POS_FREESTAGE)
    SetFreeStage(ini, value);
  else if (position == POS_ENGLISH)
    ini.nEnglish = IniNumber(value);
}

const std::string& ReadFailedText() {
  static const std::string text = plat::Utf8ToCp932("System.ini の読み込みに失敗しました！");
  return text;
}

}  // namespace

cEdIniKey& GetIniKey(int index) { return SystemData.m_vIniKeys.At(index); }

void SetIniDefaults(SYSTEMINI& ini, const cVector<cEdIniKey>& keys) {
  for (int i = 0; i < POS_FREESTAGE; ++i) ini.*kNumberFields[i] = keys.At(i).m_nNumber;
  // A default too long for the field is refused rather than cut to another name.
  const std::string& stage = keys.At(POS_FREESTAGE).m_strText;
  if (stage.size() < FREESTAGE_SIZE)
    std::memcpy(ini.szFreeStage, stage.c_str(), stage.size() + 1);
  else
    ini.szFreeStage[0] = '\0';
  ini.nEnglish = 0;
}

int ParseSystemIni(const std::string& bytes, SYSTEMINI& ini, const cVector<cEdIniKey>& keys) {
  size_t pos = 0;
  const size_t end = bytes.size();
  for (int line = 0; line < MAX_LINES; ++line) {
    // Key part: blanks, tabs and carriage returns are dropped.
    std::string key;
    bool keyTooLong = false;
    bool hasValue = false;
    for (;;) {
      if (pos >= end) return 0;  // a file ends with "Exit" or a NUL
      const char c = bytes[pos++];
      if (c == '\t' || c == '\r' || c == ' ') continue;
      if (c == '=') {
        hasValue = true;
        break;
      }
      if (c == '\0') return 1;
      if (c == '\n') break;
      if (key.size() < MAX_TOKEN)
        key += c;
      else
        keyTooLong = true;
    }
    if (!hasValue) {
      if (!keyTooLong && key == "Exit") return 1;
      continue;  // a line without "=" is ignored
    }
    // Value part: up to a blank, tab, "/", line feed or NUL. The rest of the
    // line after a blank, tab or "/" is read as the next key part, so a
    // comment there is harmless. Carriage returns of CR LF files are dropped.
    std::string value;
    bool valueTooLong = false;
    for (;;) {
      if (pos >= end) return 0;  // a value that runs into the end of the file
      const char c = bytes[pos++];
      if (c == ' ' || c == '\t' || c == '/' || c == '\n' || c == '\0') break;
      if (c == '\r') continue;
      if (value.size() < MAX_TOKEN)
        value += c;
      else
        valueTooLong = true;
    }
    if (!keyTooLong && !valueTooLong) ApplyValue(ini, keys, key, value);
  }
  return 1;
}

int ReadSystemIni(const char* path, SYSTEMINI& ini, const cVector<cEdIniKey>& keys) {
  std::string bytes;
  if (!plat::ReadWholeFile(path ? path : "", bytes)) return 0;
  return ParseSystemIni(bytes, ini, keys);
}

int LoadSystemIni(const char* path, SYSTEMINI& ini, const cVector<cEdIniKey>& keys) {
  SetIniDefaults(ini, keys);
  int result = ReadSystemIni(path, ini, keys);
  if (!result) {
    ReportError("%s", ReadFailedText().c_str());
    SetIniDefaults(ini, keys);
  }
  return result;
}
