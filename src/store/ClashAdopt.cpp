#include "store/ClashAdopt.h"

#include <exception>
#include <functional>

#include "model/FieldMerge.h"
#include "model/SyncKinds.h"
#include "store/ContactStore.h"
#include "store/MatterStore.h"

namespace kivtal {

namespace {

// How one kind's record is read, saved as an edit and deleted by its store.
template <class R>
struct KindOps {
    std::function<int(int, R&)> read;
    std::function<StoreStatus(const R& asRead, R& edited)> save;
    std::function<StoreStatus(R&)> remove;
};

template <class R>
int Adopt(const SyncClash& clash, const KindOps<R>& ops) {
    R current;
    if (ops.read(clash.s_row_id, current) != 0) return kClashNotFound;
    if (IsDeleteClash(clash)) return ops.remove(current) == StoreStatus::kOk ? 0 : 1;
    try {
        R edited = AdoptField(current, clash.field, clash.other);
        return ops.save(current, edited) == StoreStatus::kOk ? 0 : 1;
    } catch (const std::exception&) {
        return 1;
    }
}

int AdoptByKind(LocalStore& store, const SyncClash& clash) {
    ContactStore contacts(store);
    MatterStore matters(store);
    switch (clash.oper_code) {
        case OPER_CONTACT:
            return Adopt<BusinessCard>(
                clash, {[&](int id, BusinessCard& r) { return contacts.ContactById(id, r); },
                        [&](const BusinessCard& a, BusinessCard& e) { return contacts.SaveContactEdit(a, e); },
                        [&](BusinessCard& r) { return contacts.DeleteContact(r); }});
        case OPER_MATTER:
            return Adopt<TalEvent>(clash, {[&](int id, TalEvent& r) { return matters.MatterById(id, r); },
                                           [&](const TalEvent& a, TalEvent& e) { return matters.SaveMatterEdit(a, e); },
                                           [&](TalEvent& r) { return matters.DeleteMatter(r); }});
        case OPER_CONTACT_GROUP:
            return Adopt<CardGroup>(clash, {[&](int id, CardGroup& r) { return contacts.GroupById(id, r); },
                                            [&](const CardGroup&, CardGroup& e) { return contacts.ModifyGroup(e); },
                                            [&](CardGroup& r) { return contacts.DeleteGroup(r); }});
        case OPER_MATTER_GROUP:
            return Adopt<EventGroup>(clash,
                                     {[&](int id, EventGroup& r) { return matters.MatterGroupById(id, r); },
                                      [&](const EventGroup&, EventGroup& e) { return matters.ModifyMatterGroup(e); },
                                      [&](EventGroup& r) { return matters.DeleteMatterGroup(r); }});
        default: return kClashNotAdoptable;
    }
}

}  // namespace

bool IsDeleteClash(const SyncClash& clash) {
    const FieldSpec* field = FieldOfKind(clash.oper_code, clash.field);
    return field && field->role == FieldRole::kState;
}

int AdoptClash(LocalStore& store, int clashId) {
    SyncClash clash;
    if (const int found = FindClash(store, clashId, clash); found != 0) return found;
    if (const int adopted = AdoptByKind(store, clash); adopted != 0) return adopted;
    return CloseClash(store, clashId) == 1 ? 1 : 0;
}

}  // namespace kivtal
