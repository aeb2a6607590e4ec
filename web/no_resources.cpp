// Stands in for the Qt resources the lesson leaves out of the browser build (see
// CMakeLists.txt): Qt still asks for them to be registered, and they register nothing.
int qInitResources_wasmfonts() { return 1; }
int qCleanupResources_wasmfonts() { return 1; }
int qInitResources_qstyle() { return 1; }
int qCleanupResources_qstyle() { return 1; }
int qInitResources_qmessagebox() { return 1; }
int qCleanupResources_qmessagebox() { return 1; }
int qInitResources_qstyle1() { return 1; }
int qCleanupResources_qstyle1() { return 1; }
int qInitResources_gui_shaders() { return 1; }
int qCleanupResources_gui_shaders() { return 1; }
