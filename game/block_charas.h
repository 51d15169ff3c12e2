#pragma once
// The block characters of CharaList in list order. Every character's solid
// contacts and block checks look only at these; walking the whole list for
// each of them costs a logic step as many walks as there are characters.
// During a logic step the list is kept and rebuilt only after CharaList
// changed (a sweep of gone characters, a spawn, a stage set-up); outside one
// every call takes it afresh, so code that fills CharaList by hand is safe.
// Gone, defeated or absent block characters stay in it until the next
// change: the walks still skip them.
#include <vector>

class cChara;

class cBlockCharas {
 public:
  // The block characters of CharaList; the reference holds until the next call.
  static const std::vector<cChara*>& Get();
  // CharaList gained or lost a character.
  static void Changed();

  // Keeps the list from construction to destruction: the span of a logic step.
  class cKeep {
   public:
    cKeep();
    ~cKeep();
    cKeep(const cKeep&) = delete;
    cKeep& operator=(const cKeep&) = delete;
  };
};
