#pragma once
// A driver of one truck: the abstract player with the per-race bookkeeping the screens show,
// the keyboard driver and the computer driver that follows the track's waypoints.
#include "race/driverStyle.h"

class Truck;
class Track;

// Steering amount of a full turn; +3 turns left (towards larger angles).
const float fullSteer = 3.0f;

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
// style of its difficulty (race/driverStyle): the closest racing style follows the course's
// racing line instead (race/lineDriving.cpp).
class PlayerAI : public Player {
public:
    PlayerAI();
    ~PlayerAI() override;
    void control() override;
    void reset() override;

    void setSkill(int s) { skill = s; }
    void setStyle(const DriverStyle& s) { style = s; }
    // Advances to the following waypoint once the truck stands on the one it is aiming for.
    void updateWaypoint();
    float topSpeed() const { return style.topSpeedBest - style.topSpeedPerSkill * (float)(5 - skill); }
    // The highest speed at which it still accelerates at a point of the racing line: its top
    // speed, or less where a bend within its sight needs it to lift off.
    float lineSpeedLimit(int index, float speed) const;

    int skill;
    int nextWaypoint;
    int previousWaypoint;
    DriverStyle style;

private:
    // One step on the racing line: where it is on the line, where it steers, whether it accelerates.
    void driveLine();
    int lineIndex = -1;  // the line's point nearest the truck; -1 before it has looked
};
