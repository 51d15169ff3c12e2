#pragma once
// The program's own containers. They are the standard ones plus an indexed
// accessor `At` that tests every index: a bad index is a fault of the program
// or of its data, so it is reported to both logs and the program is asked to
// close in order; the caller goes on with a harmless element until then.
// Assignment keeps the identity of the target's elements: sizes are matched
// first, then each element is assigned in place (records re-bind their own
// member tables in their assignment).
#include <cstddef>
#include <cstdint>
#include <list>
#include <vector>

// Reports "err V[i] ( size , elementSize )" (kind 'V') or "err L[…]" (kind
// 'L') to the debug and report logs and posts the close request.
void ReportBadIndex(char kind, int index, int size, int elementSize);
// The same two log lines without the close request, for an index from data
// that the caller replaces and plays on.
void ReportBadIndexOnly(char kind, int index, int size, int elementSize);

template <class T>
class cVector : public std::vector<T> {
 public:
  using Base = std::vector<T>;
  using Base::Base;

  cVector() = default;
  cVector(const cVector& other) : Base(other) {}
  cVector(cVector&& other) noexcept = default;

  cVector& operator=(const cVector& source) {
    if (this == &source) return *this;
    AssignElements(source);
    return *this;
  }
  cVector& operator=(cVector&& source) {
    if (this != &source) AssignElements(source);
    return *this;
  }

  T& At(int index) {
    if (index >= 0 && static_cast<size_t>(index) < this->size()) return (*this)[index];
    ReportBadIndex('V', index, static_cast<int>(this->size()), static_cast<int>(sizeof(T)));
    return this->empty() ? FailureElement() : this->front();
  }
  const T& At(int index) const { return const_cast<cVector*>(this)->At(index); }

  // Every element takes the value.
  void Fill(const T& value) {
    for (size_t i = 0; i < this->size(); ++i) (*this)[i] = value;
  }

  // Removes every element equal to value (for vectors of object pointers);
  // 1 when anything was removed. The objects pointed to are not touched.
  int Remove(const T& value) {
    size_t before = this->size();
    for (size_t i = 0; i < this->size();) {
      if ((*this)[i] == value)
        this->erase(this->begin() + static_cast<std::ptrdiff_t>(i));
      else
        ++i;
    }
    return this->size() != before ? 1 : 0;
  }

  int Size() const { return static_cast<int>(this->size()); }

 private:
  void AssignElements(const cVector& source) {
    if (this->size() > source.size()) this->resize(source.size());
    while (this->size() < source.size()) this->push_back(T());
    for (size_t i = 0; i < source.size(); ++i) (*this)[i] = source[i];
  }

  // The element handed out when an empty vector is indexed; one per element type.
  static T& FailureElement() {
    static T element{};
    return element;
  }
};

template <class T>
class cList : public std::list<T> {
 public:
  using Base = std::list<T>;
  using Base::Base;

  cList() = default;
  cList(const cList& other) : Base(other) {}
  cList(cList&& other) noexcept = default;

  cList& operator=(const cList& source) {
    if (this == &source) return *this;
    while (this->size() > source.size()) this->pop_back();
    while (this->size() < source.size()) this->push_back(T());
    auto to = this->begin();
    for (auto from = source.begin(); from != source.end(); ++from, ++to) *to = *from;
    return *this;
  }

  T& At(int index) {
    if (index >= 0 && static_cast<size_t>(index) < this->size()) {
      auto it = this->begin();
      for (int i = 0; i < index; ++i) ++it;
      return *it;
    }
    ReportBadIndex('L', index, static_cast<int>(this->size()), static_cast<int>(sizeof(T)));
    return FailureElement();
  }
  const T& At(int index) const { return const_cast<cList*>(this)->At(index); }

  int Size() const { return static_cast<int>(this->size()); }

 private:
  static T& FailureElement() {
    static T element{};
    return element;
  }
};
