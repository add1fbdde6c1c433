object ShellForm: TShellForm
  Left = 193
  Top = 106
  Width = 572
  Height = 451
  Caption = 'Demo for Pathwright Components'
  Menu = MainMenu1
  object Panel1: TPanel
    Left = 0
    Top = 0
    Width = 564
    Height = 30
    Align = alTop
    BevelInner = bvRaised
    BevelOuter = bvLowered
    TabOrder = 0
    object VelShellCombo1: TVelShellCombo
      Left = 6
      Top = 4
      Width = 166
      Height = 22
      ItemHeight = 16
      ShellLink = VelShellLink
      TabOrder = 0
    end
    object ParentButton: TSpeedButton
      Left = 250
      Top = 3
      Width = 25
      Height = 24
      Hint = 'Parent Folder'
      Glyph = 'go-up'
      ParentShowHint = False
      ShowHint = True
      OnClick = ParentButtonClick
    end
    object DeleteButton: TSpeedButton
      Left = 288
      Top = 3
      Width = 24
      Height = 24
      Hint = 'Delete'
      Glyph = 'edit-delete'
      ParentShowHint = False
      ShowHint = True
      OnClick = DeleteButtonClick
    end
    object PropertiesButton: TSpeedButton
      Left = 312
      Top = 3
      Width = 25
      Height = 24
      Hint = 'Show Properties'
      Glyph = 'document-properties'
      ParentShowHint = False
      ShowHint = True
      OnClick = PropertiesButtonClick
    end
    object SpeedButton1: TSpeedButton
      Left = 352
      Top = 3
      Width = 25
      Height = 24
      Hint = 'Show Large Icons'
      Tag = 0
      GroupIndex = 1
      Glyph = 'view-list-icons'
      ParentShowHint = False
      ShowHint = True
      OnClick = SpeedButton1Click
    end
    object SpeedButton2: TSpeedButton
      Left = 377
      Top = 3
      Width = 25
      Height = 24
      Hint = 'Show Small Icons'
      Tag = 1
      GroupIndex = 1
      Glyph = 'view-list-compact'
      ParentShowHint = False
      ShowHint = True
      OnClick = SpeedButton1Click
    end
    object SpeedButton3: TSpeedButton
      Left = 402
      Top = 3
      Width = 25
      Height = 24
      Hint = 'Show List'
      Tag = 2
      GroupIndex = 1
      Glyph = 'view-list-text'
      ParentShowHint = False
      ShowHint = True
      OnClick = SpeedButton1Click
    end
    object SpeedButton4: TSpeedButton
      Left = 427
      Top = 3
      Width = 25
      Height = 24
      Hint = 'Show Report'
      Tag = 3
      GroupIndex = 1
      Down = True
      Glyph = 'view-list-details'
      ParentShowHint = False
      ShowHint = True
      OnClick = SpeedButton1Click
    end
    object SpeedButton5: TSpeedButton
      Left = 472
      Top = 3
      Width = 25
      Height = 24
      Hint = 'Connect network drive'
      Layout = blGlyphRight
      Glyph = 'network-server'
      ParentShowHint = False
      ShowHint = True
      OnClick = SpeedButton5Click
    end
  end
  object ShellTree: TVelShellTree
    Left = 0
    Top = 30
    Width = 181
    Height = 356
    Align = alLeft
    ShellLink = VelShellLink
    Filter = '*'
    RootedAt = SF_DESKTOP
    SelectedFolder = '$HOME/'
    OleDragDrop = True
    ShellContextMenu = True
    ShowFiles = False
    OnOperation = ShellListViewOperation
    ShowRoot = False
    DragMode = dmAutomatic
    HideSelection = False
    Indent = 19
    PopupMenu = TreeViewPopup
    TabOrder = 0
  end
  object Splitter1: TSplitter
    Left = 181
    Top = 30
    Width = 4
    Height = 356
    Align = alLeft
    Cursor = crHSplit
  end
  object ShellListView: TVelShellList
    Align = alClient
    ShowHidden = True
    Filter = '*'
    Path = '$HOME/'
    ShellLink = VelShellLink
    OleDragDrop = True
    ShellContextMenu = True
    BackgroundPopupMenu = TreeViewPopup
    OnOperation = ShellListViewOperation
    OnContextMenuSelect = ShellListViewContextMenuSelect
    MultiSelect = True
    ReadOnly = False
    TabOrder = 3
  end
  object StatusBar1: TStatusBar
    Left = 0
    Top = 386
    Width = 564
    Height = 20
    Align = alBottom
    SimplePanel = True
    SimpleText = 'https://www.wordloom.example/pathwright/'
    OnClick = StatusBar1Click
    OnDblClick = StatusBar1Click
  end
  object TreeViewPopup: TPopupMenu
    object FullExpand1: TMenuItem
      Caption = 'Full &Expand'
      OnClick = FullExpand1Click
    end
    object FullCollapse1: TMenuItem
      Caption = 'Full &Collapse'
      OnClick = FullCollapse1Click
    end
  end
  object VelShellLink: TVelShellLink
  end
  object MainMenu1: TMainMenu
    object File1: TMenuItem
      Caption = '&File'
      object Exit1: TMenuItem
        Caption = 'E&xit'
        OnClick = Exit1Click
      end
    end
    object Help1: TMenuItem
      Caption = '&Help'
      object About1: TMenuItem
        Caption = '&About...'
        OnClick = About1Click
      end
    end
  end
end
