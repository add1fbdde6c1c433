{ The yardstick for form conversion: the Free Pascal RTL's converters on a form held in memory.
  Only the conversion is timed (CPU time of the process, and wall time), over several runs; the
  output stream starts empty each time.
    form_convert tobinary|totext FILE [RUNS] }
program form_convert;

{$mode objfpc}{$H+}

uses
  Classes, SysUtils, Linux, UnixType;

function Seconds(clock: clockid_t): Double;
var
  t: TTimeSpec;
begin
  clock_gettime(clock, @t);
  Result := t.tv_sec + t.tv_nsec / 1e9;
end;

var
  mode: string;
  input, output: TMemoryStream;
  runs, i: Integer;
  cpu, wall, bestCpu, bestWall, sumCpu: Double;
  outSize: Int64;
begin
  if (ParamCount < 2) or ((ParamStr(1) <> 'tobinary') and (ParamStr(1) <> 'totext')) then
  begin
    WriteLn(StdErr, 'usage: form_convert tobinary|totext FILE [RUNS]');
    Halt(2);
  end;
  mode := ParamStr(1);
  runs := StrToIntDef(ParamStr(3), 10);
  input := TMemoryStream.Create;
  input.LoadFromFile(ParamStr(2));
  bestCpu := 1e30;
  bestWall := 1e30;
  sumCpu := 0;
  outSize := 0;
  for i := 1 to runs do
  begin
    output := TMemoryStream.Create;
    input.Position := 0;
    cpu := Seconds(CLOCK_PROCESS_CPUTIME_ID);
    wall := Seconds(CLOCK_MONOTONIC);
    if mode = 'tobinary' then
      ObjectTextToResource(input, output)
    else
      ObjectResourceToText(input, output);
    cpu := Seconds(CLOCK_PROCESS_CPUTIME_ID) - cpu;
    wall := Seconds(CLOCK_MONOTONIC) - wall;
    outSize := output.Size;
    output.Free;
    sumCpu := sumCpu + cpu;
    if cpu < bestCpu then bestCpu := cpu;
    if wall < bestWall then bestWall := wall;
  end;
  WriteLn(Format('fpc %s: %d bytes in, %d bytes out, %d runs; CPU best %.2f ms, mean %.2f ms ' +
    '(%.1f MB/s); wall best %.2f ms',
    [mode, input.Size, outSize, runs, bestCpu * 1e3, sumCpu / runs * 1e3,
     input.Size / 1e6 / bestCpu, bestWall * 1e3]));
  input.Free;
end.
