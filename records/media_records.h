#pragma once
// The database records that name a file and little else: extra character
// sheets (Bmp_CharaExc.dat), pictures (Picture.dat), sound effects
// (Sound.dat) and music (Bgm.dat). A file name is used as it stands, relative
// to the working directory.
#include <cstdint>
#include <string>

#include "records/record.h"

// The members all four share. Registration: name, m_nAux (from 151), file.
class cEdNameFileRecord : public cRecord {
 public:
  std::string m_strName;
  int32_t m_nAux = 0;  // kept and saved for the editor; cleared for files before 153
  std::string m_strFile;

  void RegisterFields(int version) override;
  // The framework's read, then m_nAux cleared for files before 153.
  void Load(cDataReader& r) override;

 protected:
  cEdNameFileRecord() = default;
};

class cEdPicture : public cEdNameFileRecord {
 public:
  cEdPicture() { Clear(); }
};

class cEdBgm : public cEdNameFileRecord {
 public:
  cEdBgm() { Clear(); }  // the player chooses MIDI or OGG by the file's extension
};

// Registration: name, file, m_nAux (from 151).
class cEdSound : public cEdNameFileRecord {
 public:
  cEdSound() { Clear(); }
  void RegisterFields(int version) override;
};

// Registration: name, m_nAux (from 152), file, m_bLargeCell and m_nCellScale (from 172).
class cEdBmpCharaExc : public cEdNameFileRecord {
 public:
  int32_t m_bLargeCell = 0;   // 0: cells of 32 × 32, 16 per row
  int32_t m_nCellScale = 2;   // with m_bLargeCell: cells of 32 × scale dots, 16 / scale per row

  cEdBmpCharaExc();
  void RegisterFields(int version) override;

  // The cell scale in use: the stored one kept within 1..16 (0 or more than 16
  // would give no cells per row). The stored value is saved as it is.
  int CellScale() const;
  // Cells per row and the side of a cell in dots.
  int CellsPerRow() const { return m_bLargeCell ? 16 / CellScale() : 16; }
  int CellSide() const { return m_bLargeCell ? 32 * CellScale() : 32; }
  // The top-left corner of cell n in the sheet, in dots (saturated to int32).
  void CellOrigin(int n, int& x, int& y) const;
};
