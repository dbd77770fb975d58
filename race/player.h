#pragma once
// A driver of one truck: the abstract player with the per-race bookkeeping the screens show,
// the keyboard driver and the computer driver that follows the track's waypoints.
#include "race/driverStyle.h"

class Truck;
class Track;

class Player {
public:
    static constexpr int maxNameLength = 128;  // bytes of the name buffer, terminator included

    Player();
    virtual ~Player();
    // Once per physics sub-step while the player's race runs.
    virtual void control();
    // At every race reset.
    virtual void reset();

    void setTruck(Truck* t) { truck = t; }
    void setTrack(Track* t) { track = t; }
    void setLapsToRace(int laps) { lapsToRace = laps; }
    // Copies text only when it fits with its terminator; otherwise the name stays as it was.
    void setName(const char* text);
    const char* getName() const { return name; }
    bool isFinished() const { return finished; }
    void setTime(float seconds) { finishTime = seconds; }
    float getTime() const { return finishTime; }

    bool finished;
    Truck* truck;  // not owned
    Track* track;  // not owned
    int lapsToRace;
    char name[maxNameLength];
    float finishTime;  // seconds on the race clock; frozen once finished

protected:
    // Marks the player finished once its truck has done the race's laps.
    bool checkFinished();
};

// Drives from the arrow keys.
class PlayerUser : public Player {
public:
    PlayerUser();
    ~PlayerUser() override;
    void control() override;
    // How much of full lock the keys give at a speed: all of it when assist is off, less and
    // less as the truck goes faster when it is on.
    float steerShare(float speed) const;
    void reset() override;

    bool assist = false;  // the Options' steering assist; the classic race never sets it
    // With the assist on Easy: the throttle gives way to the brake when the truck comes to a
    // bend faster than a new player can turn it.
    bool brakeBeforeBends = false;

private:
    // The speed the bend at the next waypoint allows from here; false when there is none.
    bool bendSpeedAhead(float& limit);
    int nextWaypoint = 0;
};

// Steers for the next waypoint and accelerates up to a top speed set by its skill, driving in the
// style of its difficulty (race/driverStyle).
class PlayerAI : public Player {
public:
    PlayerAI();
    ~PlayerAI() override;
    void control() override;
    void reset() override;

    void setSkill(int s) { skill = s; }
    void setStyle(const DriverStyle& s) { style = s; }
    // Advances to the following waypoint once the truck stands on the one it is aiming for (or,
    // when the style allows, on one just beyond it).
    void updateWaypoint();
    float topSpeed() const { return style.topSpeedBest - style.topSpeedPerSkill * (float)(5 - skill); }
    // The highest speed at which it still accelerates towards the bend at the waypoint aimed for;
    // with the style's lookahead off (or the bend far), no limit.
    float bendLimit(float turnDegrees, float distance) const;

    int skill;
    int nextWaypoint;
    int previousWaypoint;
    DriverStyle style;

private:
    static constexpr int sightWaypoints = 2;  // waypoints past the one aimed for it looks along
    // Moves target from the waypoint's centre on along the waypoints' path, as far as the road
    // runs straight from the truck to it (the style's sight at most); returns how far the truck
    // must still turn at the waypoint to head for the one after it.
    float aimAlongRoad(float target[2]) const;
};
