#include "media/midi.h"

#include <cstring>

#include "base/report_log.h"
#include "platform/messages.h"
#include "platform/midi_out.h"

namespace {

// "Midi %s Buffer バッファより大きいイベントを飛ばした"
constexpr const char* kEventTooLarge =
    "Midi %s Buffer \x83o\x83" "b\x83t\x83@\x82\xE6\x82\xE8\x91\xE5\x82\xAB\x82\xA2\x83"
    "C\x83x\x83\x93\x83g\x82\xF0\x94\xF2\x82\xCE\x82\xB5\x82\xBD";

constexpr uint32_t kRecordHead = 12;  // delta, stream id, event word
constexpr uint32_t kEndOfSong = 0x2FFF;  // FF 2F 00 as a short message's low bytes

void WriteLe32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}

uint32_t ReadLe32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

cMidi::cMidi(const std::string& path) {
  Load(path);
  if (m_lpImage) Open();
}

cMidi::~cMidi() {
  if (!m_lpImage || !m_lpHdrs) return;
  {
    // No callback is posted after this, and those already posted are stale.
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_hStream.Stop();
    m_nState = 0;
  }
  if (m_hThread.Running()) {
    plat::PostToThread(m_hThread.Id(), WM_QUIT, 0, 0);
    m_hThread.Join();
  }
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  uint32_t r = m_hStream.Reset();
  if (r != MMSYSERR_NOERROR) LogFailure("Reset", r);
  for (int i = 0; i < m_nHdrs; ++i) {
    r = m_hStream.Unprepare(&m_lpHdrs[i]);
    if (r != MMSYSERR_NOERROR) LogFailure("Unprepare", r);
  }
  r = m_hStream.Close();
  if (r != MMSYSERR_NOERROR) LogFailure("Close", r);
}

void cMidi::LogFailure(const char* what, uint32_t result) {
  if (result != MMSYSERR_NOERROR) m_strError = plat::MidiErrorText(result);
  ReportPrintfDebug("Midi %s %s %s", m_strName.c_str(), what, m_strError.c_str());
}

void cMidi::Open() {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  std::string line;
  plat::StartMidiSynth(&line);
  if (!line.empty()) ReportPrintfDebug("%s", line.c_str());

  m_nNextHdr = 0;
  m_nHdrs = 2;
  m_nBufSize = kMidiBufferSize;
  m_lpHdrs = std::make_unique<plat::MidiHeader[]>(m_nHdrs);
  m_lpBuffers = std::make_unique<uint8_t[]>(static_cast<size_t>(m_nHdrs) * static_cast<size_t>(m_nBufSize));
  for (int i = 0; i < m_nHdrs; ++i) {
    m_lpHdrs[i].lpData = m_lpBuffers.get() + static_cast<size_t>(i) * static_cast<size_t>(m_nBufSize);
    m_lpHdrs[i].nLength = static_cast<uint32_t>(m_nBufSize);
    m_lpHdrs[i].nUser = static_cast<uintptr_t>(i);
  }

  // The thread's queue exists when Start returns, so no callback is lost.
  m_hThread.Start([this] { return MidiThreadProc(this); });
  uint32_t r = m_hStream.Open(m_hThread.Id());
  if (r != MMSYSERR_NOERROR) LogFailure("Open", r);
  const std::vector<uint8_t>& image = *m_lpImage;
  r = m_hStream.SetTimeDivision(static_cast<uint32_t>(image[12]) << 8 | image[13]);
  if (r != MMSYSERR_NOERROR) LogFailure("Property", r);

  m_nReadPos = static_cast<int32_t>(kMidiImageHead);
  m_nState = 0;
  QueueBuffer();
}

uint32_t cMidi::FillBuffer(uint32_t position, plat::MidiHeader* header) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  uint8_t* out = header->lpData;
  const uint32_t capacity = header->nLength;
  std::memset(out, 0, capacity);
  const uint8_t* image = m_lpImage ? m_lpImage->data() : nullptr;
  const size_t end = m_lpImage ? m_lpImage->size() : 0;

  uint32_t written = 0;
  int64_t last = -1;       // offset of the last record written
  size_t pos = position;
  size_t consumed = pos;   // up to the last event written
  uint64_t carried = 0;    // ticks of events read but not written since then
  bool full = false;
  while (pos < end) {
    uint32_t delta = 0;
    int n = ReadVarLen(image + pos, end - pos, &delta);
    size_t p = pos + static_cast<size_t>(n);
    if (n == 0 || p >= end) break;  // a broken tail ends the song
    uint8_t status = image[p++];
    uint32_t word = 0;
    uint64_t size = kRecordHead;
    const uint8_t* longData = nullptr;
    uint32_t longLength = 0;
    bool skip = false;
    if (status == 0xF0 || status == 0xF7) {
      uint32_t length = 0;
      n = ReadVarLen(image + p, end - p, &length);
      if (n == 0 || end - p - static_cast<size_t>(n) < length) break;
      p += static_cast<size_t>(n);
      longData = image + p;
      longLength = length;
      p += length;
      uint64_t bytes = 1 + static_cast<uint64_t>(length);  // the status goes with the data
      uint64_t need = kRecordHead + ((bytes + 3) & ~3ull);
      size = need;
      word = MEVT_F_LONG | static_cast<uint32_t>(bytes & 0xFFFFFF);
    } else if (status == 0xFF) {
      if (p >= end) break;
      uint8_t type = image[p++];
      uint32_t length = 0;
      n = ReadVarLen(image + p, end - p, &length);
      if (n == 0 || end - p - static_cast<size_t>(n) < length) break;
      p += static_cast<size_t>(n);
      const uint8_t* data = image + p;
      p += length;
      if (type == 0x51 && length >= 3)
        word = static_cast<uint32_t>(MEVT_TEMPO) << 24 | static_cast<uint32_t>(data[0]) << 16 |
               static_cast<uint32_t>(data[1]) << 8 | data[2];
      else if (type == 0x2F)
        word = MEVT_F_CALLBACK | kEndOfSong;
      else
        skip = true;
    } else {
      int dataBytes = (status >= 0xC0 && status <= 0xDF) ? 1 : 2;
      if (end - p < static_cast<size_t>(dataBytes)) break;
      word = status | static_cast<uint32_t>(image[p]) << 8;
      if (dataBytes == 2) word |= static_cast<uint32_t>(image[p + 1]) << 16;
      p += static_cast<size_t>(dataBytes);
    }
    if (!skip && size > capacity) {
      // It could never be queued; the song goes on without it.
      ReportPrintfDebug(kEventTooLarge, m_strName.c_str());
      skip = true;
    }
    if (skip) {
      // Its time goes to the next event written. When none follows in this
      // buffer, the next buffer reads it again.
      carried += delta;
      pos = p;
      continue;
    }
    if (capacity - written < size) {
      full = true;
      break;
    }
    uint64_t ticks = carried + delta;
    WriteLe32(out + written, ticks > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(ticks));
    WriteLe32(out + written + 4, 0);
    WriteLe32(out + written + 8, word);
    if (longData) {
      out[written + kRecordHead] = status;
      std::memcpy(out + written + kRecordHead + 1, longData, longLength);
    }
    last = written;
    written += static_cast<uint32_t>(size);
    carried = 0;
    pos = p;
    consumed = pos;
  }
  // Read to the end (or to a tail that cannot be read): nothing is left.
  if (!full) consumed = end > position ? end : position;
  if (last >= 0) {
    uint8_t* w = out + last + 8;
    WriteLe32(w, ReadLe32(w) | MEVT_F_CALLBACK);
  }
  header->nRecorded = written;
  header->nFlags = 0;
  header->nOffset = 0;
  return static_cast<uint32_t>(consumed - position);
}

void cMidi::QueueBuffer() {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  if (!m_lpImage || !m_lpHdrs) return;
  if (static_cast<size_t>(m_nReadPos) >= m_lpImage->size()) return;
  plat::MidiHeader* header = &m_lpHdrs[m_nNextHdr];
  if (header->nFlags & MHDR_INQUEUE) return;
  m_nReadPos += static_cast<int32_t>(FillBuffer(static_cast<uint32_t>(m_nReadPos), header));
  uint32_t r = m_hStream.Prepare(header);
  if (r != MMSYSERR_NOERROR) LogFailure("Prepare", r);
  r = m_hStream.Out(header);
  if (r != MMSYSERR_NOERROR) LogFailure("Out", r);
  m_nNextHdr = (m_nNextHdr + 1) % m_nHdrs;
}

void cMidi::Play(int loop) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  if (!m_lpImage) return;
  m_bLoop = loop;
  if (m_nState == 1) return;
  uint32_t r = m_hStream.Restart();
  if (r != MMSYSERR_NOERROR) LogFailure("Restart", r);
  int32_t from = m_nState;
  m_nState = 1;
  if (from == 0 && static_cast<size_t>(m_nReadPos) < m_lpImage->size()) QueueBuffer();
}

void cMidi::Stop(int pause) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  if (!m_lpImage) return;
  if (pause == 0) {
    uint32_t r = m_hStream.Stop();
    if (r != MMSYSERR_NOERROR) LogFailure("Stop", r);
    m_nState = 0;
    m_nReadPos = static_cast<int32_t>(kMidiImageHead);
    QueueBuffer();
  } else if (m_nState == 1) {
    uint32_t r = m_hStream.Pause();
    if (r != MMSYSERR_NOERROR) LogFailure("Pause", r);
    m_nState = 2;
  }
}

int32_t cMidi::State() const {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  return m_nState;
}

unsigned MidiThreadProc(cMidi* player) {
  for (;;) {
    plat::Message msg;
    if (!plat::Peek(msg)) {
      plat::WaitForMessage();
      continue;
    }
    if (msg.message == WM_QUIT) return 0;
    if (msg.message != MM_MOM_POSITIONCB) continue;
    std::lock_guard<std::recursive_mutex> lock(player->m_mutex);
    // A callback from before a stop or reset belongs to a song that was
    // rewound since: its buffer has been refilled.
    if (msg.wParam == player->m_hStream.RunNumber()) {
      const plat::MidiHeader* header = reinterpret_cast<const plat::MidiHeader*>(msg.lParam);
      if (header->nOffset <= header->nRecorded && header->nRecorded - header->nOffset >= kRecordHead) {
        uint32_t word = ReadLe32(header->lpData + header->nOffset + 8);
        if (MidiEventParms(word) == kEndOfSong) {
          player->Stop(0);
          if (player->m_bLoop) player->Play(1);
        } else if (static_cast<size_t>(player->m_nReadPos) != player->m_lpImage->size()) {
          player->QueueBuffer();
        }
      }
    }
    player->m_nCallbacksHandled.fetch_add(1);
  }
}
