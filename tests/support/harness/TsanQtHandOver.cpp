// Linked into the test processes of the ThreadSanitizer build only.
//
// Qt is not built with ThreadSanitizer, so it cannot see the lock that orders the posting of a queued
// call before the call's delivery. Everything a thread wrote before it queued a call (the arguments, a
// lambda's captures) would then look raced with the slot that reads it on the receiving thread, and so
// would Qt's own event and event list. This file makes the order visible:
// - emitting a signal and queueing a call release one sync point, before Qt queues anything;
// - delivering an event acquires it, before any event filter or slot runs;
// - Qt's own work of queueing a call on another thread's list is not recorded (the event is Qt's, and the
//   list is under Qt's lock). A slot that an emission on another thread runs directly (a QSignalSpy, a
//   connection by name) is recorded again; a lambda connected without a context object is not.
// What a thread writes after it queued its last call still races the slot that reads it, and is reported.
#include <QCoreApplication>
#include <QObject>
#include <QThread>

#include <dlfcn.h>

extern "C" void __tsan_acquire(void* addr);
extern "C" void __tsan_release(void* addr);
extern "C" void __tsan_ignore_thread_begin();
extern "C" void __tsan_ignore_thread_end();

// Qt's signal spy hooks (qobject_p.h): every signal emission calls signal_begin_callback first, and
// slot_begin_callback and slot_end_callback around each slot it calls directly by its index.
struct QSignalSpyCallbackSet {
    using BeginCallback = void (*)(QObject* caller, int signalOrMethodIndex, void** argv);
    using EndCallback = void (*)(QObject* caller, int signalOrMethodIndex);
    BeginCallback signal_begin_callback;
    BeginCallback slot_begin_callback;
    EndCallback signal_end_callback;
    EndCallback slot_end_callback;
};
void qt_register_signal_spy_callbacks(QSignalSpyCallbackSet* callbackSet);

namespace {

char queuedCalls;
thread_local int queueing = 0; // depth of unrecorded queueing on this thread

void releaseOnEmit(QObject*, int, void**) {
    __tsan_release(&queuedCalls);
}

void recordSlot(QObject*, int, void**) {
    if (queueing)
        __tsan_ignore_thread_end();
}

void slotDone(QObject*, int) {
    if (queueing)
        __tsan_ignore_thread_begin();
}

bool acquireOnDelivery(void**) {
    __tsan_acquire(&queuedCalls);
    return false; // the event goes on as usual
}

QSignalSpyCallbackSet spyCallbacks{releaseOnEmit, recordSlot, nullptr, slotDone};

struct Install {
    Install() {
        qt_register_signal_spy_callbacks(&spyCallbacks);
        QInternal::registerCallback(QInternal::EventNotifyCallback, acquireOnDelivery);
    }
} install;

// Qt's own definition of a function this file stands in for.
template <typename Fn> Fn qtOwn(const char* mangledName) {
    return reinterpret_cast<Fn>(dlsym(RTLD_NEXT, mangledName));
}

// Runs Qt's queueing unrecorded; the release comes first, so what the caller wrote stays ordered.
template <typename Call> auto queueUnrecorded(Call call) {
    __tsan_release(&queuedCalls);
    ++queueing;
    __tsan_ignore_thread_begin();
    auto result = call();
    __tsan_ignore_thread_end();
    --queueing;
    return result;
}

} // namespace

// The definitions below stand in for Qt's for every caller outside Qt (moc's code and the
// invokeMethod templates), and call Qt's.

// A signal emitted on another thread than its object's: our objects live on the GUI thread and are
// connected automatically, so every call of such an emission is queued.
void QMetaObject::activate(QObject* sender, const QMetaObject* meta, int localSignalIndex, void** argv) {
    using Fn = void (*)(QObject*, const QMetaObject*, int, void**);
    static const auto own = qtOwn<Fn>("_ZN11QMetaObject8activateEP7QObjectPKS_iPPv");
    if (sender->thread() == QThread::currentThread()) {
        own(sender, meta, localSignalIndex, argv);
        return;
    }
    queueUnrecorded([&] {
        own(sender, meta, localSignalIndex, argv);
        return true;
    });
}

// QMetaObject::invokeMethod with a functor or a member function.
bool QMetaObject::invokeMethodImpl(QObject* object, QtPrivate::QSlotObjectBase* slot, Qt::ConnectionType type,
                                   void* ret) {
    using Fn = bool (*)(QObject*, QtPrivate::QSlotObjectBase*, Qt::ConnectionType, void*);
    static const auto own = qtOwn<Fn>(
        "_ZN11QMetaObject16invokeMethodImplEP7QObjectPN9QtPrivate15QSlotObjectBaseEN2Qt14ConnectionTypeEPv");
    const bool queued = type == Qt::QueuedConnection || (type == Qt::AutoConnection && object &&
                                                         object->thread() != QThread::currentThread());
    if (!queued)
        return own(object, slot, type, ret); // runs the slot right here
    return queueUnrecorded([&] { return own(object, slot, type, ret); });
}
