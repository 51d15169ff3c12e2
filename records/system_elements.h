#pragma once
// The small records that the lists of System.dat hold: a menu entry, a
// head-up display item, the rankings of one play kind and one System.ini key.
// Each is one element of a list segment of the file.
#include <cstdint>
#include <string>

#include "records/record.h"

// A menu entry (title menu, map menu, options screen).
class cEdSystemText : public cRecord {
 public:
  cEdSystemText();
  void RegisterFields(int version) override;

  int32_t m_bVisible = 1;  // 1: shown and can be chosen
  std::string m_strText;
};

// A head-up display item; its position in the list decides what it shows.
class cEdStatusItem : public cRecord {
 public:
  cEdStatusItem();
  void RegisterFields(int version) override;
  // Files before 204 did not store the value-over-gauge flag; it was on.
  void Load(cDataReader& r) override;

  int32_t m_bVisible = 0;
  int32_t m_bIcon = 0;       // 1: a 16 × 16 icon stands for the label
  std::string m_strLabel;
  int32_t m_nDigits = 0;     // width of the value in 16-dot cells
  int32_t m_bShowValue = 0;  // gauge items: the number is drawn over the gauge (from 204)
  int32_t m_nLowLevel = 0;   // gauge items: at or below this the gauge is low (from 587)
  int32_t m_bLowPercent = 0; // 1: m_nLowLevel is a percentage of the maximum (from 587)
};

// The rankings of one play kind.
class cEdRankingMode : public cRecord {
 public:
  cEdRankingMode();
  void RegisterFields(int version) override;
  // The segment, then u32 n and n category bytes; a list of any length is
  // kept whole (readers go through the checked access).
  void Load(cDataReader& r) override;
  void Save(cDataWriter& w) override;

  int32_t m_bRanking = 0;
  // Per ranking category (0 score, 1 remaining time, 2 clear time,
  // 3 remaining hit points, 4 remaining skill points): 1 = ranked.
  cVector<uint8_t> m_vCategories;
};

// One System.ini key with its default.
class cEdIniKey : public cRecord {
 public:
  enum { KIND_NUMBER = 0, KIND_TEXT = 1 };

  cEdIniKey();
  void RegisterFields(int version) override;

  // Makes this a number key; the default text stays as it was.
  void SetNumber(const std::string& key, int32_t number);
  // Makes this a text key; the default number stays as it was.
  void SetText(const std::string& key, const std::string& text);

  int32_t m_nKind = KIND_NUMBER;
  std::string m_strKey;  // the name matched in System.ini
  int32_t m_nNumber = 0;
  std::string m_strText;
};
