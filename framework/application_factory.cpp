#include "framework/application_factory.h"

namespace {

// A function-local static, so that a registration in another file's static initialiser never
// runs before this storage exists.
VApplicationFactory& FactoryCell() {
    static VApplicationFactory cell = &MakeApplication<ClassVane>;
    return cell;
}

}  // namespace

ClassVane* CreateApplication(VStartRecord* start) {
    return FactoryCell()(start);
}

VApplicationRegistration::VApplicationRegistration(VApplicationFactory factory)
    : previous_(FactoryCell()) {
    if (factory != nullptr) FactoryCell() = factory;
}

VApplicationRegistration::~VApplicationRegistration() {
    FactoryCell() = previous_;
}
