#pragma once

// One point of a trajectory, or the corrections at the target: twelve doubles in this order.
struct ResultsElement {
    double distance = 0.0;          // m
    double verticalCm = 0.0;
    double verticalMoa = 0.0;
    double verticalMil = 0.0;
    double verticalClicks = 0.0;
    double horizontalCm = 0.0;      // positive in the direction the cross wind blows
    double horizontalMoa = 0.0;
    double horizontalMil = 0.0;
    double horizontalClicks = 0.0;
    double energy = 0.0;            // J
    double timeOfFlight = 0.0;      // s
    double velocity = 0.0;          // m/s over the ground
};
static_assert(sizeof(ResultsElement) == 96);
