// Closes a key opened through the registry backend when the operation that opened it ends,
// also when a conversion error leaves it early.
#pragma once
#include "registry/registry_backend.h"

namespace quelvar {

class ScopedRegKey {
 public:
  ScopedRegKey() = default;
  ScopedRegKey(const ScopedRegKey&) = delete;
  ScopedRegKey& operator=(const ScopedRegKey&) = delete;
  ~ScopedRegKey() {
    if (m_open) Registry().CloseKey(m_key);
  }

  RegKey get() const { return m_key; }
  // For the backend's out-parameter; call Opened() once the call succeeded.
  RegKey* put() { return &m_key; }
  void Opened() { m_open = true; }

 private:
  RegKey m_key = 0;
  bool m_open = false;
};

}  // namespace quelvar
