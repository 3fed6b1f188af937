#!/bin/sh
# The engine library exports the nine entry points and nothing else.
want="XL_CreateTask XL_DelTempFile XL_DeleteTask XL_Init XL_QueryTaskInfoEx XL_SetSpeedLimit XL_StartTask XL_StopTask XL_UnInit"
got=$(nm -D --defined-only "$1" | awk '{print $3}' | sort | tr '\n' ' ' | sed 's/ $//')
[ "$got" = "$want" ] || { echo "exports: $got"; exit 1; }
