#include "services/Binder.h"

#include "services/SystemBinder.h"

namespace qvn {
namespace {

Binder* installed = nullptr;
unsigned generation = 0;

}  // namespace

Binder& CurrentBinder() { return installed != nullptr ? *installed : SystemBinder(); }

unsigned BinderGeneration() { return generation; }

ScopedBinder::ScopedBinder(Binder& binder) : previous_(installed) {
  installed = &binder;
  ++generation;
}

ScopedBinder::~ScopedBinder() {
  installed = previous_;
  ++generation;
}

}  // namespace qvn
