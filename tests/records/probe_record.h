#pragma once
// A record class that uses every kind of registration, for the framework's
// tests and its fuzz target. File layout by version:
//   byte block of 3       m_cFlags[0..2]      always (m_cFlags[3] is not registered)
//   int16 block of 2      m_sPair[0..1]       always (m_sPair[2] is not registered)
//   int32, int16          dropped values      versions up to 300 (read and thrown away)
//   int32                 m_nValue            always
//   double                m_dRate             always
//   int32                 m_nLater            from version 500
//   string, string        m_strName, m_strNote
// m_nBefore and m_nRunTime sit around the registered members and are never
// registered, like a record's lists and run-time values.
#include <cstdint>
#include <string>

#include "records/record.h"

class cProbeRecord : public cRecord {
 public:
  cProbeRecord() {
    Clear();
    m_nLater = 55;  // the class default, kept by files older than 500
  }

  void RegisterFields(int version) override {
    ClearFields();
    AddByte(m_cFlags, 3);
    AddWord(m_sPair, 2);
    if (version <= 300) {
      AddDword(&DiscardDword);
      AddWord(&DiscardWord);
    }
    AddDword(&m_nValue);
    AddQword(&m_dRate);
    if (version > 499) AddDword(&m_nLater);
    AddString(&m_strName);
    AddString(&m_strNote);
  }

  int32_t m_nBefore = 0;
  int8_t m_cFlags[4] = {};
  int16_t m_sPair[3] = {};
  int32_t m_nValue = 0;
  double m_dRate = 0.0;
  int32_t m_nLater = 0;
  std::string m_strName;
  std::string m_strNote;
  int32_t m_nRunTime = 0;
};

// Another class with the probe's layout at version 734, for refused copies.
class cProbeOther : public cRecord {
 public:
  cProbeOther() { Clear(); }
  void RegisterFields(int) override {
    ClearFields();
    AddByte(m_cFlags, 3);
    AddWord(m_sPair, 2);
    AddDword(&m_nValue);
    AddQword(&m_dRate);
    AddDword(&m_nLater);
    AddString(&m_strName);
    AddString(&m_strNote);
  }
  int8_t m_cFlags[3] = {};
  int16_t m_sPair[2] = {};
  int32_t m_nValue = 0;
  double m_dRate = 0.0;
  int32_t m_nLater = 0;
  std::string m_strName;
  std::string m_strNote;
};
