#pragma once
// What the save checks need to know of a value picker (a drop-down list). The windows
// implement it over their picker controls; tests use a small fake.

namespace kivtal {

class Picker {
public:
    virtual ~Picker() = default;
    virtual bool hasChoice() const = 0;  // an entry is chosen
    virtual int entryCount() const = 0;  // entries the list holds
};

}  // namespace kivtal
