/* Loaded into travenor-cli.exe under Wine for the tests only, never shipped:
 * built as a setupapi.dll that stands beside a test copy of the program and
 * is preferred to Wine's own (WINEDLLOVERRIDES=setupapi=n). Qt's serial
 * library imports setupapi for the list of ports, which the command line
 * never asks for (its port numbers are COM1 to COM16), so the calls below
 * only say that there is nothing to list.
 *
 * Qt's serial port waits for the receive event with an OVERLAPPED that has
 * no event handle and learns of its completion from the completion port the
 * port's handle is bound to. Wine 8 waits in the caller's thread when no
 * event handle is given, and posts nothing to the completion port when the
 * wait ends: the program stops at its first wait, and no wait ever reports.
 * Here the two calls of Qt's serial library are wrapped: the wait gets an
 * event of its own, so Wine keeps it in the background, and its end is
 * posted to the completion port as Windows itself does. */
#include <stdlib.h>
#include <string.h>
#include <windows.h>

typedef BOOL(WINAPI* WaitCommEventFn)(HANDLE, LPDWORD, LPOVERLAPPED);
typedef HANDLE(WINAPI* CreateIoCompletionPortFn)(HANDLE, HANDLE, ULONG_PTR, DWORD);

static WaitCommEventFn realWaitCommEvent;
static CreateIoCompletionPortFn realCreateIoCompletionPort;

struct Binding {
    HANDLE file;
    HANDLE port;
    ULONG_PTR key;
};
static struct Binding bindings[64];
static CRITICAL_SECTION lock;

static struct Binding* bindingOf(HANDLE file) {
    for (int i = 0; i < 64; ++i)
        if (bindings[i].file == file) return &bindings[i];
    return NULL;
}

static HANDLE WINAPI hookCreateIoCompletionPort(HANDLE file, HANDLE existing, ULONG_PTR key,
                                                DWORD threads) {
    HANDLE port = realCreateIoCompletionPort(file, existing, key, threads);
    if (port != NULL && file != INVALID_HANDLE_VALUE) {
        EnterCriticalSection(&lock);
        struct Binding* slot = bindingOf(file);
        if (slot == NULL) slot = bindingOf(NULL);
        if (slot != NULL) {
            slot->file = file;
            slot->port = port;
            slot->key = key;
        }
        LeaveCriticalSection(&lock);
    }
    return port;
}

struct Pending {
    HANDLE file;
    HANDLE event;
    struct Binding binding;
    OVERLAPPED* overlapped;
};

static DWORD WINAPI deliver(void* argument) {
    struct Pending* pending = argument;
    WaitForSingleObject(pending->event, INFINITE);
    DWORD bytes = 0;
    GetOverlappedResult(pending->file, pending->overlapped, &bytes, FALSE);
    PostQueuedCompletionStatus(pending->binding.port, bytes, pending->binding.key,
                               pending->overlapped);
    CloseHandle(pending->event);
    free(pending);
    return 0;
}

static BOOL WINAPI hookWaitCommEvent(HANDLE file, LPDWORD mask, LPOVERLAPPED overlapped) {
    EnterCriticalSection(&lock);
    struct Binding* found = bindingOf(file);
    struct Binding binding = found != NULL ? *found : (struct Binding){0};
    LeaveCriticalSection(&lock);
    if (overlapped == NULL || overlapped->hEvent != NULL || binding.port == NULL)
        return realWaitCommEvent(file, mask, overlapped);

    HANDLE event = CreateEventW(NULL, TRUE, FALSE, NULL);
    overlapped->hEvent = event;
    const BOOL done = realWaitCommEvent(file, mask, overlapped);
    const DWORD error = GetLastError();
    overlapped->hEvent = NULL;
    if (done) {
        CloseHandle(event);
        PostQueuedCompletionStatus(binding.port, sizeof(DWORD), binding.key, overlapped);
        return TRUE;
    }
    if (error != ERROR_IO_PENDING) {
        CloseHandle(event);
        SetLastError(error);
        return FALSE;
    }
    struct Pending* pending = malloc(sizeof *pending);
    pending->file = file;
    pending->event = event;
    pending->binding = binding;
    pending->overlapped = overlapped;
    CloseHandle(CreateThread(NULL, 0, deliver, pending, 0, NULL));
    SetLastError(ERROR_IO_PENDING);
    return FALSE;
}

/* Points the serial library's imports of the two calls at the wrappers. */
static void hookImports(HMODULE module) {
    BYTE* base = (BYTE*)module;
    IMAGE_NT_HEADERS* headers = (IMAGE_NT_HEADERS*)(base + ((IMAGE_DOS_HEADER*)base)->e_lfanew);
    IMAGE_DATA_DIRECTORY imports =
        headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (IMAGE_IMPORT_DESCRIPTOR* d = (IMAGE_IMPORT_DESCRIPTOR*)(base + imports.VirtualAddress);
         d->Name != 0; ++d) {
        if (lstrcmpiA((const char*)(base + d->Name), "KERNEL32.dll") != 0) continue;
        IMAGE_THUNK_DATA* names = (IMAGE_THUNK_DATA*)(base + d->OriginalFirstThunk);
        IMAGE_THUNK_DATA* slots = (IMAGE_THUNK_DATA*)(base + d->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const char* name =
                (const char*)((IMAGE_IMPORT_BY_NAME*)(base + names->u1.AddressOfData))->Name;
            void* replacement = NULL;
            if (strcmp(name, "WaitCommEvent") == 0) {
                realWaitCommEvent = (WaitCommEventFn)slots->u1.Function;
                replacement = (void*)hookWaitCommEvent;
            } else if (strcmp(name, "CreateIoCompletionPort") == 0) {
                realCreateIoCompletionPort = (CreateIoCompletionPortFn)slots->u1.Function;
                replacement = (void*)hookCreateIoCompletionPort;
            }
            if (replacement == NULL) continue;
            DWORD was = 0;
            VirtualProtect(&slots->u1.Function, sizeof(void*), PAGE_READWRITE, &was);
            slots->u1.Function = (ULONG_PTR)replacement;
            VirtualProtect(&slots->u1.Function, sizeof(void*), was, &was);
        }
    }
}

/* The serial library's setupapi imports: no device list here. */
#define NOTHING_LISTED(name)                        \
    __declspec(dllexport) ULONG_PTR WINAPI name() { \
        SetLastError(ERROR_NOT_SUPPORTED);          \
        return 0;                                   \
    }
NOTHING_LISTED(CM_Get_DevNode_Status)
NOTHING_LISTED(CM_Get_Device_IDW)
NOTHING_LISTED(CM_Get_Parent)
NOTHING_LISTED(SetupDiDestroyDeviceInfoList)
NOTHING_LISTED(SetupDiEnumDeviceInfo)
NOTHING_LISTED(SetupDiGetDeviceRegistryPropertyW)
NOTHING_LISTED(SetupDiOpenDevRegKey)
__declspec(dllexport) HANDLE WINAPI SetupDiGetClassDevsW() {
    SetLastError(ERROR_NOT_SUPPORTED);
    return INVALID_HANDLE_VALUE;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reserved;
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    InitializeCriticalSection(&lock);
    HMODULE serial = GetModuleHandleW(L"Qt6SerialPort.dll");
    if (serial != NULL) hookImports(serial);
    return TRUE;
}
