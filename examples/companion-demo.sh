#!/bin/sh
# Drives a running VORNA as its companion analysis program would: loads a spectrum file as S1,
# then reads the number of S1's ROIs and their data. Usage: companion-demo.sh FILE.mca
set -e
FP="${VORNA_FP:-vorna-fp}"
"$FP" wait --timeout 20000                # a VORNA of this user owns com.quorix.LumoWindow
"$FP" copy-data 31 "$1" --answer          # CMD_LUMO_LOAD_SPECTRUM: answers only on failure
"$FP" command 21 --answer                 # number of ROIs of S1
"$FP" command 23 --answer                 # ROI data of S1: "count:start,end,...;..."
