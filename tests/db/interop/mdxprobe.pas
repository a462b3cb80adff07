{ Reads and writes dBASE tables through Free Pascal's TDbf, an engine written
  independently of ours, so the tests can check that each engine reads the
  other's production index.

  mdxprobe walk DIR TABLE TAG
      every visible record in the tag's order: recno|field|field...
  mdxprobe seek DIR TABLE TAG VALUE...
      for each value, an exact search on the tag: the record number found, or 0
  mdxprobe edit DIR TABLE < commands
      append FIELD=VALUE|FIELD=VALUE...
      set RECNO FIELD=VALUE|...
      delete RECNO
  Numbers use a point, dates are yyyy-mm-dd. Exit status 1 with a message on
  any error. }
program mdxprobe;

{$mode objfpc}{$H+}

uses
  SysUtils, Classes, Variants, db, dbf, dbf_common;

var
  Fmt: TFormatSettings;

function OpenTable(const Dir, Name: string): TDbf;
begin
  Result := TDbf.Create(nil);
  Result.FilePathFull := IncludeTrailingPathDelimiter(Dir);
  Result.TableName := Name;
  Result.Exclusive := True;
  Result.Open;
end;

function FieldText(F: TField): string;
begin
  if F.IsNull then
    Result := ''
  else
    case F.DataType of
      ftFloat, ftBCD, ftCurrency, ftSmallint, ftInteger, ftLargeint, ftWord:
        Result := FloatToStr(F.AsFloat, Fmt);
      ftDate, ftDateTime:
        Result := FormatDateTime('yyyy-mm-dd', F.AsDateTime);
      ftBoolean:
        if F.AsBoolean then Result := 'T' else Result := 'F';
    else
      Result := TrimRight(F.AsString);
    end;
end;

function RecordLine(T: TDbf): string;
var
  I: Integer;
begin
  Result := IntToStr(T.PhysicalRecNo);
  for I := 0 to T.FieldCount - 1 do
    Result := Result + '|' + FieldText(T.Fields[I]);
end;

procedure Walk(const Dir, Name, Tag: string);
var
  T: TDbf;
begin
  T := OpenTable(Dir, Name);
  try
    T.IndexName := Tag;
    T.First;
    while not T.EOF do
    begin
      WriteLn(RecordLine(T));
      T.Next;
    end;
  finally
    T.Free;
  end;
end;

procedure Seek(const Dir, Name, Tag: string; First: Integer);
var
  T: TDbf;
  I: Integer;
  Key: Variant;
  Value: string;
  Number: Double;
begin
  T := OpenTable(Dir, Name);
  try
    T.IndexName := Tag;
    for I := First to ParamCount do
    begin
      Value := ParamStr(I);
      if (T.FieldByName(Tag).DataType = ftString) then
        Key := Value + StringOfChar(' ', T.FieldByName(Tag).Size - Length(Value))
      else if TryStrToFloat(Value, Number, Fmt) then
        Key := Number
      else
        raise Exception.Create('not a number: ' + Value);
      if T.SearchKey(Key, stEqual) then
        WriteLn(T.PhysicalRecNo)
      else
        WriteLn(0);
    end;
  finally
    T.Free;
  end;
end;

procedure Assign(T: TDbf; const Assignments: string);
var
  Parts: TStringList;
  I, At: Integer;
  Name, Value: string;
  F: TField;
begin
  Parts := TStringList.Create;
  try
    Parts.Delimiter := '|';
    Parts.StrictDelimiter := True;
    Parts.DelimitedText := Assignments;
    for I := 0 to Parts.Count - 1 do
    begin
      At := Pos('=', Parts[I]);
      Name := Copy(Parts[I], 1, At - 1);
      Value := Copy(Parts[I], At + 1, MaxInt);
      F := T.FieldByName(Name);
      if Value = '' then
        F.Clear
      else
        case F.DataType of
          ftFloat, ftBCD, ftCurrency, ftSmallint, ftInteger, ftLargeint, ftWord:
            F.AsFloat := StrToFloat(Value, Fmt);
          ftDate, ftDateTime:
            F.AsDateTime := EncodeDate(StrToInt(Copy(Value, 1, 4)),
              StrToInt(Copy(Value, 6, 2)), StrToInt(Copy(Value, 9, 2)));
          ftBoolean:
            F.AsBoolean := (Value = 'T');
        else
          F.AsString := Value;
        end;
    end;
  finally
    Parts.Free;
  end;
end;

procedure Edit(const Dir, Name: string);
var
  T: TDbf;
  Line, Command, Rest: string;
  At: Integer;
begin
  T := OpenTable(Dir, Name);
  try
    while not System.EOF(Input) do
    begin
      ReadLn(Line);
      if Line = '' then
        Continue;
      At := Pos(' ', Line);
      Command := Copy(Line, 1, At - 1);
      Rest := Copy(Line, At + 1, MaxInt);
      if Command = 'append' then
      begin
        T.Append;
        Assign(T, Rest);
        T.Post;
      end
      else if Command = 'set' then
      begin
        At := Pos(' ', Rest);
        T.RecNo := StrToInt(Copy(Rest, 1, At - 1));
        T.Edit;
        Assign(T, Copy(Rest, At + 1, MaxInt));
        T.Post;
      end
      else if Command = 'delete' then
      begin
        T.RecNo := StrToInt(Rest);
        T.Delete;
      end
      else
        raise Exception.Create('unknown command: ' + Line);
    end;
    T.Close;
  finally
    T.Free;
  end;
end;

begin
  Fmt := DefaultFormatSettings;
  Fmt.DecimalSeparator := '.';
  Fmt.ThousandSeparator := #0;
  try
    if (ParamCount >= 4) and (ParamStr(1) = 'walk') then
      Walk(ParamStr(2), ParamStr(3), ParamStr(4))
    else if (ParamCount >= 4) and (ParamStr(1) = 'seek') then
      Seek(ParamStr(2), ParamStr(3), ParamStr(4), 5)
    else if (ParamCount = 3) and (ParamStr(1) = 'edit') then
      Edit(ParamStr(2), ParamStr(3))
    else
    begin
      WriteLn(StdErr, 'usage: mdxprobe walk|seek|edit DIR TABLE [TAG] [VALUE...]');
      Halt(2);
    end;
  except
    on E: Exception do
    begin
      WriteLn(StdErr, E.ClassName, ': ', E.Message);
      Halt(1);
    end;
  end;
end.
