#pragma once

#include "adapters/AdapterBackend.h"
#include "settings/Text.h"

// Stands in when no way to the network configuration could be had: every connection fails
// with the reason, so that each command says why it cannot change the adapters.
class UnavailableBackend : public AdapterBackend {
public:
    explicit UnavailableBackend(WmiError reason) : m_reason(std::move(reason)) {}

    bool connect(WmiError &error) override {
        error = m_reason;
        return false;
    }
    bool ipEnabledAdapters(WmiAdapterList &adapters, WmiError &error) override {
        adapters.clear();
        error = m_reason;
        return false;
    }
    QString name() const override { return Text::tr("ağ ayarları"); }

private:
    WmiError m_reason;
};
