#include "ovWM.h"

#include "IndexRange.h"
#include "REG_Utils.h"
#include "platform/Exception.h"

TovWMs* WMs = nullptr;

namespace {

const char* const kStoredNames[TovWM::StoredCount] = {
    "Left", "Top", "Height", "Width", "WindowSize", "SplitterLeft", "FormPositionReset"};

} // namespace

void TovWM::setFormPositionReset(bool value) {
    if (FormPositionReset != value) {
        FormPositionReset = value;
        Unread[sFormPositionReset] = false;
    }
}

TovWMs::TovWMs() : RegKey(QStringLiteral("Software\\Tarrow Studio\\Ovik KRV Tessel\\WMs")) {
    Items.push_back(std::make_unique<TovWM>());
}

TovWM& TovWMs::getItems(int index) {
    if (CheckIndexRange(index, 0, Count, QStringLiteral("WM.getItems"))) {
        return *Items[0];
    }
    return *Items[static_cast<size_t>(index)];
}

int TovWMs::Add() {
    Items.push_back(std::make_unique<TovWM>());
    return ++Count;
}

QString TovWMs::slotKey(int n) const {
    return RegKey + QStringLiteral("\\WM_") + QString::number(n);
}

void TovWMs::Load() {
    TRegBatch batch;
    TRegErrors errors;
    for (int n = 1; n <= Count; ++n) {
        TovWM& wm = *Items[n];
        const QString key = slotKey(n);
        for (int v = 0; v < TovWM::StoredCount; ++v) {
            const auto stored = static_cast<TovWM::Stored>(v);
            const QString name = QString::fromLatin1(kStoredNames[v]);
            try {
                switch (stored) {
                case TovWM::sLeft:
                    wm.setLeft(RegReadInteger(HKEY_CURRENT_USER, key, name, -1));
                    break;
                case TovWM::sTop:
                    wm.setTop(RegReadInteger(HKEY_CURRENT_USER, key, name, -1));
                    break;
                case TovWM::sHeight:
                    wm.setHeight(RegReadInteger(HKEY_CURRENT_USER, key, name, -1));
                    break;
                case TovWM::sWidth:
                    wm.setWidth(RegReadInteger(HKEY_CURRENT_USER, key, name, -1));
                    break;
                case TovWM::sWindowSize:
                    wm.setWindowSize(RegReadInteger(HKEY_CURRENT_USER, key, name, 0));
                    break;
                case TovWM::sSplitterLeft:
                    wm.setSplitterLeft(RegReadInteger(HKEY_CURRENT_USER, key, name, -1));
                    break;
                case TovWM::sFormPositionReset:
                    wm.setFormPositionReset(RegReadBool(HKEY_CURRENT_USER, key, name, false));
                    break;
                case TovWM::StoredCount:
                    break;
                }
                wm.setUnread(stored, false);
            } catch (const platform::Exception& e) {
                wm.setUnread(stored, true);
                errors.add(e.message());
            }
        }
    }
    errors.show(false);
}

void TovWMs::Normalise() {
    // Left and Top are not raised to -1: below it lie the screens left of or above the primary
    // one, and the apply step keeps every window on a work area.
    for (int n = 0; n <= Count; ++n) {
        TovWM& wm = *Items[n];
        wm.setHeight(std::max(wm.getHeight(), -1));
        wm.setWidth(std::max(wm.getWidth(), -1));
        wm.setSplitterLeft(std::max(wm.getSplitterLeft(), -1));
        wm.setSecondSplitter(std::max(wm.getSecondSplitter(), -1));
        wm.setWindowSize(wm.getWindowSize());
    }
}

void TovWMs::WriteSlot(int n) {
    const TovWM& wm = *Items[n];
    const QString key = slotKey(n);
    const int values[] = {wm.getLeft(),  wm.getTop(),        wm.getHeight(),
                          wm.getWidth(), wm.getWindowSize(), wm.getSplitterLeft()};
    for (int v = 0; v < TovWM::StoredCount; ++v) {
        const auto stored = static_cast<TovWM::Stored>(v);
        if (wm.isUnread(stored)) {
            continue; // what the registry holds could not be read: it is not overwritten
        }
        const QString name = QString::fromLatin1(kStoredNames[v]);
        if (stored == TovWM::sFormPositionReset) {
            RegWriteBool(HKEY_CURRENT_USER, key, name, wm.getFormPositionReset());
        } else {
            RegWriteInteger(HKEY_CURRENT_USER, key, name, values[v]);
        }
    }
}

void TovWMs::SaveAll() {
    try {
        TRegBatch batch;
        for (int n = 1; n <= Count; ++n) {
            WriteSlot(n);
        }
        batch.commit();
    } catch (const platform::Exception& e) {
        ShowRegistryWriteError(e.message());
    }
}

void TovWMs::Save(int n) {
    if (n < 1 || n > Count) {
        return;
    }
    try {
        TRegBatch batch;
        WriteSlot(n);
        batch.commit();
    } catch (const platform::Exception& e) {
        ShowRegistryWriteError(e.message());
    }
}
