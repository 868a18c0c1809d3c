// Which kinds of drive may share a virtual drive: a 4 x 4 table over the drive kinds, built
// once per process from the mixing flags of the first controller whose manager is refreshed.
#ifndef DRIVEMIXMATRIX_H
#define DRIVEMIXMATRIX_H

#include <cstdint>

class PhysicalDevice;

class DriveMixMatrix {
public:
    // Drive kinds.
    static constexpr uint8_t KIND_SAS_HDD = 0;
    static constexpr uint8_t KIND_OTHER_HDD = 1;
    static constexpr uint8_t KIND_SAS_SSD = 2;
    static constexpr uint8_t KIND_OTHER_SSD = 3;
    static constexpr uint8_t KINDS = 4;

    // The process-wide matrix, made on first use; null only when memory runs out.
    static DriveMixMatrix* instance();

    DriveMixMatrix();
    virtual ~DriveMixMatrix() {}

    // Stores the flags and fills the cells, the first time only: rotating and solid-state
    // drives may be mixed; SAS and other solid-state drives; SAS and other rotating drives.
    void build(uint8_t mediaMix, uint8_t ssdInterfaceMix, uint8_t hddInterfaceMix);
    // The cell of two kinds; 0 for a kind above 3.
    uint8_t isAllowed(uint8_t kind, uint8_t otherKind) const;
    uint8_t allowsMediaMix() const { return flags[0]; }
    uint8_t allowsSsdInterfaceMix() const { return flags[1]; }
    uint8_t allowsHddInterfaceMix() const { return flags[2]; }
    bool isBuilt() const { return built != 0; }

    // The kind of a drive from its media and interface; a value that cannot be read counts as
    // 255, so such a drive is a non-SAS solid-state one.
    static uint8_t kindOf(PhysicalDevice* pd);

    DriveMixMatrix(const DriveMixMatrix&) = delete;
    DriveMixMatrix& operator=(const DriveMixMatrix&) = delete;

private:
    uint8_t flags[3];
    uint8_t cells[KINDS * KINDS];
    uint8_t built;
};

#endif
