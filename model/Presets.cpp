#include "model/Presets.h"

namespace yawmark {

void carMcLaren(Params& p) {
    p.wheelbaseLength = 4.29;
    p.wheelbaseWidth = 1.82;
    p.vehicleMass = 1139;
    p.frontShare = 0.412;
    p.kineticFriction = 10 / 11.16;
}

void carImagine(Params& p) {
    p.wheelbaseLength = 7;
    p.wheelbaseWidth = 2;
    p.vehicleMass = 4000;
    p.frontShare = 0.7;
    p.kineticFriction = 0.8;
}

bool loadVehicle(std::string_view name, Params& p) {
    if (name == kVehicleNames[1]) {
        carMcLaren(p);
        return true;
    }
    if (name == kVehicleNames[2]) {
        carImagine(p);
        return true;
    }
    return false;
}

} // namespace yawmark
