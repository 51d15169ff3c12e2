#pragma once
// The erase of an owning list of live objects (CharaList, the stage's shot
// list): the node that holds the object goes, and the object with it.
#include "base/container.h"

namespace ObjectList {

// Finds the node holding `object`, destroys the object and frees the node;
// the node after it, or end() when the list does not hold the object.
template <class T>
typename cList<T>::iterator EraseObject(cList<T>& list, const T* object) {
  for (auto it = list.begin(); it != list.end(); ++it)
    if (&*it == object) return list.erase(it);
  return list.end();
}

}  // namespace ObjectList
