#pragma once
// A driver of one truck: the abstract player with the per-race bookkeeping the screens show,
// the keyboard driver and the computer driver that follows the track's waypoints.
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
};

// Steers for the next waypoint and accelerates up to a top speed set by its skill.
class PlayerAI : public Player {
public:
    static constexpr float topSpeedBest = 800.0f;        // units per second at skill 5
    static constexpr float topSpeedPerSkill = 50.0f;     // lost per skill level below 5
    static constexpr float liftOffAimDegrees = 35.0f;    // off the heading this far...
    static constexpr float liftOffSpeed = 650.0f;        // ...it accelerates only below this
    static constexpr float steerDeadbandDegrees = 5.0f;  // closer than this it lets the wheels straighten

    PlayerAI();
    ~PlayerAI() override;
    void control() override;
    void reset() override;

    void setSkill(int s) { skill = s; }
    // Advances to the following waypoint once the truck stands on the one it is aiming for.
    void updateWaypoint();
    float topSpeed() const { return topSpeedBest - topSpeedPerSkill * (float)(5 - skill); }

    int skill;
    int nextWaypoint;
    int previousWaypoint;
};
