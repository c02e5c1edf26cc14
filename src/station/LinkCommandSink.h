#pragma once
// The probe link's command ring as the pairing and the results part see it.

#include "carcass/PairingInterfaces.h"
#include "probe/ProbeLink.h"

class LinkCommandSink : public ProbeCommandSink {
public:
    explicit LinkCommandSink(ProbeLink& link)
        : link_(link)
    {}
    void QueueProbeCommand(const std::string& text) override { link_.QueueProbeCommand(text); }

private:
    ProbeLink& link_;
};
