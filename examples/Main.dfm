object MainForm: TMainForm
  Left = 200
  Top = 120
  Width = 480
  Height = 320
  Caption = 'Wordloom Demo'
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  Position = poScreenCenter
  PixelsPerInch = 96
  TextHeight = 13
  object GreetingLabel: TLabel
    Left = 16
    Top = 16
    Width = 200
    Height = 13
    Caption = 'Don'#39't panic: this is only a demo'
  end
  object IntroLabel: TLabel
    Left = 16
    Top = 40
    Width = 440
    Height = 26
    AutoSize = False
    Caption = 
      'This long caption is written over two lines by the form writer, ' +
      'because it holds more than sixty-four characters.'
    WordWrap = True
  end
  object SizeLabel: TLabel
    Left = 16
    Top = 72
    Caption = 'Gr'#246#223'e'
  end
  object ChineseLabel: TLabel
    Left = 16
    Top = 92
    Caption = #25171#24320
  end
  object LanguageBox: TComboBox
    Left = 16
    Top = 116
    Width = 160
    Hint = 'Choose the language of the texts'
    ParentShowHint = False
    ShowHint = True
    Items.Strings = (
      'English'
      'Deutsch'
      'Fran'#231'ais')
  end
  object NotesMemo: TMemo
    Left = 192
    Top = 116
    Width = 264
    Height = 89
    Lines.Strings = (
      'First line'
      'Second line, with a tab:'#9'here'
      
        'A memo line longer than sixty-four characters is cut by the form' +
        ' writer and continued on the next line.')
  end
  object OpenButton: TButton
    Left = 16
    Top = 240
    Caption = '&Open...'
    Hint = 'Opens a project|Opens a Delphi project file'
    OnClick = OpenButtonClick
  end
  object AboutButton: TButton
    Left = 112
    Top = 240
    Caption = '&About'
    OnClick = AboutButtonClick
  end
end
